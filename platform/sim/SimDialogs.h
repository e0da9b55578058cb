#pragma once

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "ports/Dialogs.h"
#include "sim/SimTimers.h"

namespace pelorin::sim {

// Raised when the suite asks a question that the script does not expect, or when the
// scripted answer is not one of the buttons the question offers.
class UnexpectedDialog : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Scripted answers for message boxes and questions. Each expected question is
// answered after its virtual delay, during which due timers fire, as they would
// while a real modal dialog waits for the user. Every question asked is recorded.
class SimDialogs : public ports::Dialogs {
 public:
  // Without timers the delays are ignored.
  explicit SimDialogs(SimTimers* timers = nullptr) : timers_(timers) {}

  // Expects the next question to have exactly this text.
  SimDialogs& Expect(std::string text, ports::DialogAnswer answer, std::int64_t delayMs = 0);
  // Expects the next question to contain this fragment.
  SimDialogs& ExpectContaining(std::string fragment, ports::DialogAnswer answer,
                               std::int64_t delayMs = 0);

  ports::DialogAnswer Show(const ports::MessageRequest& request) override;

  // Expects the next file chooser to have this title and answers it with `file`
  // (empty: cancelled).
  SimDialogs& ExpectFileChoice(std::string title, std::string file, std::int64_t delayMs = 0);
  std::string ChooseFileToOpen(const ports::OpenFileRequest& request) override;
  const std::vector<ports::OpenFileRequest>& FileChoicesAsked() const { return fileAsked_; }

  const std::vector<ports::MessageRequest>& Asked() const { return asked_; }
  // Expected questions that were never asked.
  std::size_t Pending() const { return script_.size(); }
  // The texts of the problems met (unexpected questions, wrong buttons).
  const std::vector<std::string>& Failures() const { return failures_; }

 private:
  struct Expected {
    std::string text;
    bool exact;
    ports::DialogAnswer answer;
    std::int64_t delayMs;
  };

  [[noreturn]] void Fail(std::string message);

  SimTimers* timers_;
  struct ExpectedFile {
    std::string title, file;
    std::int64_t delayMs;
  };

  std::deque<Expected> script_;
  std::deque<ExpectedFile> fileScript_;
  std::vector<ports::OpenFileRequest> fileAsked_;
  std::vector<ports::MessageRequest> asked_;
  std::vector<std::string> failures_;
};

// Whether a button set offers an answer.
bool ButtonsOffer(ports::DialogButtons buttons, ports::DialogAnswer answer);

}  // namespace pelorin::sim
