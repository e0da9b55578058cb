#pragma once

#include <string>

#include "ports/Dialogs.h"

namespace pelorin {

class RingService;

// The sound choice of an editor (the reminder's, the organizer's): a wave file chosen in
// the file dialog and previewed in the ring player, which StopRing silences.

// The file the user chose in a dialog titled `title` with `filter` (wave files by
// default, the file must exist); `current` when the dialog was cancelled.
std::string ChooseSoundFile(ports::Dialogs& dialogs, const char* title, const char* filter,
                            const std::string& current);
// Plays an existing file in the ring player, looped or once; a missing file plays nothing.
void PreviewSound(RingService& ring, const std::string& file, bool loop);

}  // namespace pelorin
