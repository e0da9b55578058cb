#include "linux/LinuxShell.h"

#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <array>
#include <filesystem>

namespace pelorin::lnx {
namespace {

namespace fs = std::filesystem;

// The calculators tried for "calc.exe", in this order.
constexpr std::array<const char*, 6> kCalculators = {
    "gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"};

bool IsAddress(const QString& file) {
  for (const char* scheme : {"http:", "https:", "mailto:", "file:"}) {
    if (file.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) return true;
  }
  return false;
}

bool IsProgramFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

LinuxShell::LinuxShell(Starter starter) : starter_(std::move(starter)) {}

bool LinuxShell::StartDetached(const QString& program, const QStringList& arguments,
                               const QString& directory) {
  return QProcess::startDetached(program, arguments, directory);
}

bool LinuxShell::Open(const std::string& file, const std::string& parameters,
                      const std::string& directory, ports::ShowMode /*mode*/) {
  if (file.empty()) return false;
  const QString target = QString::fromStdString(file);
  // A working directory that does not exist would make every start fail: the program
  // then runs in the current one.
  std::error_code ec;
  const QString workDir = !directory.empty() && fs::is_directory(directory, ec)
                              ? QString::fromStdString(directory)
                              : QString();

  if (target.compare(QLatin1String("calc.exe"), Qt::CaseInsensitive) == 0) {
    const std::string calculator = FindCalculator().found;
    return !calculator.empty() && starter_(QString::fromStdString(calculator), {}, workDir);
  }
  if (IsAddress(target)) return OpenWithDesktop(target, workDir);

  // A relative name means the file in the working directory, as on Windows; a bare
  // name that is not there may be a program in PATH.
  fs::path path(file);
  if (path.is_relative() && !workDir.isEmpty()) path = fs::path(directory) / path;
  if (IsProgramFile(path)) {
    return starter_(QString::fromStdString(path.string()),
                    QProcess::splitCommand(QString::fromStdString(parameters)), workDir);
  }
  if (fs::exists(path, ec)) return OpenWithDesktop(QString::fromStdString(path.string()), workDir);
  if (file.find('/') == std::string::npos) {
    const QString found = QStandardPaths::findExecutable(target);
    if (!found.isEmpty()) {
      return starter_(found, QProcess::splitCommand(QString::fromStdString(parameters)), workDir);
    }
  }
  return false;
}

ports::CalculatorSearch LinuxShell::FindCalculator() const {
  ports::CalculatorSearch search;
  for (const char* calculator : kCalculators) {
    search.lookedFor.emplace_back(calculator);
    if (search.found.empty())
      search.found = QStandardPaths::findExecutable(QLatin1String(calculator)).toStdString();
  }
  return search;
}

bool LinuxShell::OpenWithDesktop(const QString& target, const QString& directory) const {
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) return false;
  return starter_(opener, {target}, directory);
}

}  // namespace pelorin::lnx
