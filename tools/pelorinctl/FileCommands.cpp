#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "CtlCommands.h"
#include "storage/Scrambler.h"
#include "storage/SuiteLayout.h"
#include "storage/TextCipher.h"

namespace pelorin::ctl {
namespace {

std::optional<std::uint16_t> ParseKey(const std::string& text) {
  try {
    std::size_t used = 0;
    const unsigned long key = std::stoul(text, &used, 10);
    if (used == text.size() && key <= 0xFFFF && text.find('-') == std::string::npos) {
      return static_cast<std::uint16_t>(key);
    }
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

}  // namespace

int RunScramble(const Args& args, bool unscramble) {
  const std::string command = unscramble ? "unscramble" : "scramble";
  if (args.size() != 2 && args.size() != 3) {
    return CountError(command, "", args.size());
  }
  std::optional<std::uint16_t> key = SuiteLayout::kScrambledFileKey;
  if (args.size() == 3) key = ParseKey(args[2]);
  if (!key) {
    return UsageError(command + ": KEY must be a number from 0 to 65535, not \"" + args[2] + "\"",
                      command);
  }
  const bool done =
      unscramble ? UnscrambleFile(args[0], args[1], *key) : ScrambleFile(args[0], args[1], *key);
  if (!done) {
    std::cerr << "pelorinctl: " << (unscramble ? "unscramble" : "scramble") << " of " << args[0]
              << " failed; " << args[1] << " is untouched\n";
    return kFailed;
  }
  return kOk;
}

int RunTextCipher(const Args& args, bool decode) {
  if (args.size() != 3) {
    const std::string command = decode ? "decode-text" : "encode-text";
    return CountError(command, "", args.size());
  }
  const bool done = decode ? DecodeTextFile(args[0], args[1], args[2])
                           : EncodeTextFile(args[0], args[1], args[2]);
  if (!done) {
    std::cerr << "pelorinctl: " << args[0] << " cannot be read or " << args[1]
              << " cannot be written\n";
    return kFailed;
  }
  return kOk;
}

}  // namespace pelorin::ctl
