#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::ctl {

// Exit statuses of pelorinctl.
constexpr int kOk = 0;
constexpr int kFailed = 1;  // file unreadable or unwritable, unscramble refused
constexpr int kUsage = 2;   // wrong arguments, or a name or value holding a line break

using Args = std::vector<std::string>;

// Each takes the arguments after its group word ("ini", "hf", ...).
int RunIni(const Args& args);
int RunHf(const Args& args);
int RunScramble(const Args& args, bool unscramble);
int RunTextCipher(const Args& args, bool decode);
int RunOrg(const Args& args);

// The usage of every command.
void PrintUsage(std::FILE* to);
// Whether `command` ("ini", "scramble", ...) is one of the tool's, and `action` ("get",
// "set", ...) one of that command's.
bool KnownCommand(const std::string& command);
bool KnownAction(const std::string& command, const std::string& action);
// `pelorinctl help COMMAND`: the usage of that command on standard output.
int PrintCommandUsage(const std::string& command);
// A usage error: the message naming what was wrong, then the usage of the command (of
// its action alone when that is known; of every command when the command is not known)
// on standard error. Returns kUsage.
int UsageError(const std::string& what, const std::string& command = "",
               const std::string& action = "");
// The usage error of a command (or its action) given `given` arguments after its words,
// which is too few or too many.
int CountError(const std::string& command, const std::string& action, std::size_t given);
// The usage error of a name or value that holds a line break.
int LineBreakError(const std::string& command, const std::string& action);

}  // namespace pelorin::ctl

namespace pelorin::ctl {

// True when no argument holds a CR or LF (a settings file cannot store one).
bool FreeOfLineBreaks(const Args& args);

// Runs a change of a settings file and turns the engine's errors into exit statuses:
// a name or value the file cannot hold is a usage error, a refused write or any other
// error a failure.
int RunChange(const std::function<int()>& change);

// True when the file exists but cannot be read.
bool ExistsButUnreadable(const std::string& file);

// Why the backup of a file that lies in a profile folder of a home could not be kept
// (its name is none the backup accepts, like "..hif"); nothing when it can, or when the
// file has no backup. Asked before the file is changed, so that nothing is.
std::optional<std::string> BackupRefusal(const std::string& file);

// After a change of a file that lies in a profile folder of a home, refreshes the
// profile's backup of it exactly as the suite would, so that a deliberate edit is
// not reported as damage later; the system settings file is always backed up. kOk, or
// kFailed after a message when the backup could not be refreshed.
int RefreshBackupAfterChange(const std::string& file);

}  // namespace pelorin::ctl
