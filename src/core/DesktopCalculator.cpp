#include "core/DesktopCalculator.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pelorin {

namespace {

constexpr const char* kCaption = "Calculator";

// "a", "a or b", "a, b or c".
std::string AlternativesText(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
    text += names[i];
  }
  return text;
}

void Tell(ports::Dialogs& dialogs, const std::string& text, ports::DialogIcon icon) {
  dialogs.Show(ports::MessageRequest{.text = text, .caption = kCaption, .icon = icon});
}

}  // namespace

void OpenDesktopCalculator(ports::Shell& shell, ports::Dialogs& dialogs) {
  const ports::CalculatorSearch search = shell.FindCalculator();
  if (search.found.empty()) {
    Tell(dialogs,
         "No calculator is installed.\rPelorin looks for " + AlternativesText(search.lookedFor) +
             " in the program path (PATH); install one of them to use this item.",
         ports::DialogIcon::Warning);
    return;
  }
  if (!shell.Open("calc.exe", "", "", ports::ShowMode::Default)) {
    Tell(dialogs, "The calculator " + search.found + " could not be started.",
         ports::DialogIcon::Error);
  }
}

}  // namespace pelorin
