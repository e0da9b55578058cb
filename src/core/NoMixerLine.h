#pragma once

namespace pelorin {

class SettingsFile;

// Writes "no mixer line" into mixerfly.hif (section MIXER: MixID, DestID, SourceID -1,
// their names empty): the state of a new profile and of a line the hardware no
// longer has, in one write. Raises SettingsWriteError when the file cannot be written.
void WriteNoMixerLine(SettingsFile& mixerfly);

}  // namespace pelorin
