#include "core/ProgramsLinkCheck.h"

#include <algorithm>
#include <array>

#include "common/Files.h"
#include "core/MainMenu.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

using ports::DialogAnswer;

// The keys of a Programs entry that move with it, and the defaults they are read with.
enum class KeyKind { Text, Integer, Bool };
struct EntryKey {
  const char* name;
  KeyKind kind;
  const char* textDefault;
  int numberDefault;
};
constexpr std::array<EntryKey, 10> kEntryKeys = {{
    {"Caption", KeyKind::Text, "", 0},
    {"Filename", KeyKind::Text, "", 0},
    {"Params", KeyKind::Text, "", 0},
    {"ImageIndex", KeyKind::Integer, "", 10},
    {"Priority", KeyKind::Integer, "", 3},
    {"Fast", KeyKind::Bool, "", 0},
    {"FastName", KeyKind::Text, "", 0},
    {"IllusionEnable", KeyKind::Bool, "", 0},
    {"WaitSec", KeyKind::Integer, "", 0},
    {"IllusionDate", KeyKind::Text, "01.01.01", 0},
}};

// Copies every key of section `from` to section `to` (each read with its default).
void CopyEntry(SettingsFile& run, const std::string& from, const std::string& to) {
  for (const EntryKey& key : kEntryKeys) {
    switch (key.kind) {
      case KeyKind::Text:
        run.WriteString(to, key.name, run.ReadString(from, key.name, key.textDefault));
        break;
      case KeyKind::Integer:
        run.WriteInteger(to, key.name, run.ReadInteger(from, key.name, key.numberDefault));
        break;
      case KeyKind::Bool:
        run.WriteBool(to, key.name, run.ReadBool(from, key.name, key.numberDefault != 0));
        break;
    }
  }
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

ProgramsLinkCheck::ProgramsLinkCheck(CoreContext& ctx) : ctx_(ctx) {}

void ProgramsLinkCheck::CheckAtProfileLoad() {
  ctx_.values.MissingLinks.clear();
  DialogAnswer toAll = DialogAnswer::Ok;  // no to-All answer yet
  Check(toAll, false);
}

void ProgramsLinkCheck::CheckPeriodically(DialogAnswer& toAll) {
  Check(toAll, true);
}

DialogAnswer ProgramsLinkCheck::Ask(const std::string& caption, bool periodic,
                                    DialogAnswer& toAll) {
  if (toAll == DialogAnswer::YesToAll || toAll == DialogAnswer::NoToAll) return toAll;
  ports::MessageRequest question;
  question.text = "Program \"" + caption + "\" is not exists!\r" +
                  (periodic ? "Do you want to delete link from \"Programs\" menu?"
                            : "Do you want to delete this link from \"Programs\" menu?");
  question.icon = ports::DialogIcon::Warning;
  question.buttons = ports::DialogButtons::YesNoAll;
  const DialogAnswer answer = ctx_.ports.dialogs.Show(question);
  if (answer == DialogAnswer::YesToAll || answer == DialogAnswer::NoToAll) toAll = answer;
  return answer;
}

void ProgramsLinkCheck::Check(DialogAnswer& toAll, bool periodic) {
  std::vector<std::string>& missing = ctx_.values.MissingLinks;
  ReportWriteErrors(ctx_.ports.dialogs, [&] {
    SettingsFile run(SuiteLayout::PlainTwin(ctx_.values.ProfileDir, "run"));
    int count = NumberedSectionCount(run);
    for (int entry = count - 1; entry >= 0; --entry) {
      const std::string section = std::to_string(entry);
      const std::string file = run.ReadString(section, "Filename", "");
      if (PathExists(file)) continue;
      if (periodic && Contains(missing, file)) continue;

      const DialogAnswer answer = Ask(run.ReadString(section, "Caption", ""), periodic, toAll);
      if (answer != DialogAnswer::Yes && answer != DialogAnswer::YesToAll) {
        missing.push_back(file);
        continue;
      }
      // The Programs window closes first here once it exists.
      if (periodic) missing.erase(std::remove(missing.begin(), missing.end(), file), missing.end());
      ctx_.menu->RemoveProgramItem(entry);
      for (int later = entry + 1; later < count; ++later) {
        CopyEntry(run, std::to_string(later), std::to_string(later - 1));
      }
      run.EraseSection(std::to_string(count - 1));
      --count;
    }
    run.WriteInteger("SYSTEM", "Count", count);
    ctx_.custodo.BackupSettingsFile("run");
  });
}

}  // namespace pelorin
