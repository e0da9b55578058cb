#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pelorin {

// A stamp of a file's content that travels with the file, in its extended attribute
// "user.pelorin.content": the length and a 64-bit hash of the bytes. The atomic
// write sets it on the temporary file before the rename, so the content and its stamp
// appear together. A file whose stamp matches its bytes was written whole by this
// program; a file changed by anything else has no stamp or one that no longer matches.
// File systems without user extended attributes simply keep no stamps.

// The stamp text of `bytes`.
std::string ContentStampOf(std::string_view bytes);
// Attaches the stamp of `bytes` to the open file `fd`; false when the file system
// refuses it (no extended attributes there).
bool AttachContentStamp(int fd, std::string_view bytes);
// True when `file` carries the stamp of exactly `bytes`.
bool CarriesContentStamp(const std::filesystem::path& file, std::string_view bytes);

}  // namespace pelorin
