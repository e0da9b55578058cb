#include "sim/SimDialogs.h"

namespace pelorin::sim {

using ports::DialogAnswer;
using ports::DialogButtons;

bool ButtonsOffer(DialogButtons buttons, DialogAnswer answer) {
  switch (buttons) {
    case DialogButtons::Ok:
      return answer == DialogAnswer::Ok;
    case DialogButtons::OkCancel:
      return answer == DialogAnswer::Ok || answer == DialogAnswer::Cancel;
    case DialogButtons::YesNo:
      return answer == DialogAnswer::Yes || answer == DialogAnswer::No;
    case DialogButtons::YesNoCancel:
      return answer == DialogAnswer::Yes || answer == DialogAnswer::No ||
             answer == DialogAnswer::Cancel;
    case DialogButtons::YesNoAll:
      return answer == DialogAnswer::Yes || answer == DialogAnswer::No ||
             answer == DialogAnswer::NoToAll || answer == DialogAnswer::YesToAll;
  }
  return false;
}

SimDialogs& SimDialogs::Expect(std::string text, DialogAnswer answer, std::int64_t delayMs) {
  script_.push_back({std::move(text), true, answer, delayMs});
  return *this;
}

SimDialogs& SimDialogs::ExpectContaining(std::string fragment, DialogAnswer answer,
                                         std::int64_t delayMs) {
  script_.push_back({std::move(fragment), false, answer, delayMs});
  return *this;
}

void SimDialogs::Fail(std::string message) {
  failures_.push_back(message);
  throw UnexpectedDialog(message);
}

DialogAnswer SimDialogs::Show(const ports::MessageRequest& request) {
  asked_.push_back(request);
  if (script_.empty()) Fail("unexpected question: \"" + request.text + "\"");
  const Expected next = script_.front();
  const bool matches =
      next.exact ? request.text == next.text : request.text.find(next.text) != std::string::npos;
  if (!matches) {
    Fail("expected question \"" + next.text + "\", asked \"" + request.text + "\"");
  }
  if (!ButtonsOffer(request.buttons, next.answer)) {
    Fail("the scripted answer is not a button of \"" + request.text + "\"");
  }
  script_.pop_front();
  if (timers_ != nullptr && next.delayMs > 0) timers_->Advance(next.delayMs);
  return next.answer;
}

SimDialogs& SimDialogs::ExpectFileChoice(std::string title, std::string file,
                                         std::int64_t delayMs) {
  fileScript_.push_back({std::move(title), std::move(file), delayMs});
  return *this;
}

std::string SimDialogs::ChooseFileToOpen(const ports::OpenFileRequest& request) {
  fileAsked_.push_back(request);
  if (fileScript_.empty()) Fail("unexpected file chooser: \"" + request.title + "\"");
  const ExpectedFile next = fileScript_.front();
  if (next.title != request.title)
    Fail("expected file chooser \"" + next.title + "\", asked \"" + request.title + "\"");
  fileScript_.pop_front();
  if (timers_ != nullptr && next.delayMs > 0) timers_->Advance(next.delayMs);
  return next.file;
}

}  // namespace pelorin::sim
