#include "alarms/SoundChoice.h"

#include "alarms/RingService.h"
#include "common/Files.h"

namespace pelorin {

std::string ChooseSoundFile(ports::Dialogs& dialogs, const char* title, const char* filter,
                            const std::string& current) {
  const std::string chosen = dialogs.ChooseFileToOpen({.title = title,
                                                       .filter = filter,
                                                       .defaultExtension = "wav",
                                                       .fileMustExist = true,
                                                       .initialFile = current});
  return chosen.empty() ? current : chosen;
}

void PreviewSound(RingService& ring, const std::string& file, bool loop) {
  if (file.empty() || !PathExists(file)) return;
  ring.RingPlayer().Play(file, loop ? ports::Repeat::Loop : ports::Repeat::Once);
}

}  // namespace pelorin
