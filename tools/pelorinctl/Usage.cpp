#include <cstdio>

#include "CtlCommands.h"

namespace pelorin::ctl {

void PrintUsage() {
  std::fputs(
      "usage:\n"
      "  pelorinctl ini get FILE SECTION KEY [DEFAULT]\n"
      "  pelorinctl ini get-int FILE SECTION KEY DEFAULT\n"
      "  pelorinctl ini get-bool FILE SECTION KEY DEFAULT\n"
      "  pelorinctl ini set FILE SECTION KEY VALUE\n"
      "  pelorinctl ini delete-key FILE SECTION KEY\n"
      "  pelorinctl ini erase-section FILE SECTION\n"
      "  pelorinctl ini list-length FILE\n"
      "  pelorinctl scramble SRC DST [KEY]\n"
      "  pelorinctl unscramble SRC DST [KEY]\n"
      "  pelorinctl encode-text SRC DST PASSPHRASE\n"
      "  pelorinctl decode-text SRC DST PASSPHRASE\n"
      "  pelorinctl hf cat FILE.hf\n"
      "  pelorinctl hf set FILE.hf SECTION KEY VALUE\n"
      "exit status: 0 done, 1 failed, 2 usage error\n",
      stderr);
}

}  // namespace pelorin::ctl
