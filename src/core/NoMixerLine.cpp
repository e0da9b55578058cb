#include "core/NoMixerLine.h"

#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

void WriteNoMixerLine(SettingsFile& mixerfly) {
  SettingsTransaction change(mixerfly);
  mixerfly.WriteInteger("MIXER", "MixID", -1);
  mixerfly.WriteString("MIXER", "MixName", "");
  mixerfly.WriteInteger("MIXER", "DestID", -1);
  mixerfly.WriteString("MIXER", "DestName", "");
  mixerfly.WriteInteger("MIXER", "SourceID", -1);
  mixerfly.WriteString("MIXER", "SourceName", "");
  change.Commit();
}

}  // namespace pelorin
