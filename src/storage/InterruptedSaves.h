#pragma once

#include "ports/Log.h"
#include "storage/SuiteLayout.h"

namespace pelorin {

// Removes what saves cut short by a kill or a crash left in a home: the temporary files
// of interrupted atomic writes, and the plain copies of the scrambled files (they hold
// every password): pelorin.hif and pelorin.start.hif in the home, and main.hif,
// wimcdax2.hif and wimpcax2.hif in each profile folder. It looks in the home, in every
// profile folder and its Data folder, in the backup folder and in every profile's backup
// folder. The files themselves are whole either way (every write is atomic), and a
// file saved without its backup is recognised by Custodo's check.
//
// Only for the start of the suite, while it holds the home's single-instance lock and
// before it opens any file: a running suite's plain copies would go too. Each removal
// is one line of the log (source "backup"): the plain copy, or the folder and how many
// temporary files it held. Returns the number of files removed.
int RemoveInterruptedSaves(const SuiteLayout& layout, ports::Log& log);

}  // namespace pelorin
