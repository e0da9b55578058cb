#include "common/Text.h"

namespace pelorin {

std::string UpCaseText(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 0x20);
    } else if (i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (b == 0xD0 && next >= 0xB0 && next <= 0xBF) {  // а..п -> А..П
        out[i + 1] = static_cast<char>(next - 0x20);
        ++i;
      } else if (b == 0xD1 && next >= 0x80 && next <= 0x8F) {  // р..я -> Р..Я
        out[i] = static_cast<char>(0xD0);
        out[i + 1] = static_cast<char>(next + 0x20);
        ++i;
      }
    }
  }
  return out;
}

}  // namespace pelorin
