#include "common/FileMask.h"

#include <string>

#include "common/Text.h"

namespace pelorin {
namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The position after the UTF-8 character that starts at `pos`.
std::size_t NextCharacter(std::string_view text, std::size_t pos) {
  ++pos;
  while (pos < text.size() && IsContinuationByte(text[pos]))
    ++pos;
  return pos;
}

// Wildcard matching of already case-folded texts. On a mismatch the last "*" takes
// one more character and matching resumes after it, which finds a match whenever one
// exists without trying every split.
bool MatchesFolded(std::string_view name, std::string_view mask) {
  constexpr auto kNone = std::string_view::npos;
  std::size_t n = 0;
  std::size_t m = 0;
  std::size_t starMask = kNone;  // mask position just after the last "*"
  std::size_t starName = 0;      // name position where that "*" stopped taking
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = ++m;
      starName = n;
    } else if (m < mask.size() && mask[m] == '?') {
      n = NextCharacter(name, n);
      ++m;
    } else if (m < mask.size() && mask[m] == name[n]) {
      ++n;
      ++m;
    } else if (starMask != kNone) {
      starName = NextCharacter(name, starName);
      n = starName;
      m = starMask;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*')
    ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  const std::string foldedName = UpCaseText(name);
  const std::string foldedMask = UpCaseText(mask);
  if (MatchesFolded(foldedName, foldedMask)) return true;
  const std::string_view view = foldedMask;
  return view.size() >= 2 && view.substr(view.size() - 2) == ".*" &&
         MatchesFolded(foldedName, view.substr(0, view.size() - 2));
}

}  // namespace pelorin
