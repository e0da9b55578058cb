#include "core/NoMixerLine.h"

#include "storage/SettingsFile.h"

namespace pelorin {

void WriteNoMixerLine(SettingsFile& mixerfly) {
  mixerfly.WriteInteger("MIXER", "MixID", -1);
  mixerfly.WriteString("MIXER", "MixName", "");
  mixerfly.WriteInteger("MIXER", "DestID", -1);
  mixerfly.WriteString("MIXER", "DestName", "");
  mixerfly.WriteInteger("MIXER", "SourceID", -1);
  mixerfly.WriteString("MIXER", "SourceName", "");
}

}  // namespace pelorin
