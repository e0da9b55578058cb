#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "ports/Shell.h"

namespace pelorin::lnx {

// Opens files the way a Linux desktop does. A program (a path to an executable file,
// or a bare name found in PATH) is started detached with its parameters; a document,
// a folder or an address (http:, https:, mailto:, file:) goes to xdg-open. The Windows
// calculator "calc.exe" starts the first calculator found in PATH. The show mode has
// no meaning for a detached program here and is not used.
class LinuxShell : public ports::Shell {
 public:
  // Starts `program` with `arguments` in `directory` (empty: the current one) without
  // waiting for it; false when it could not be started.
  using Starter = std::function<bool(const QString& program, const QStringList& arguments,
                                     const QString& directory)>;

  explicit LinuxShell(Starter starter = StartDetached);

  bool Open(const std::string& file, const std::string& parameters, const std::string& directory,
            ports::ShowMode mode) override;
  // The first of gnome-calculator, kcalc, galculator, mate-calc, qalculate-gtk and xcalc
  // that PATH holds.
  ports::CalculatorSearch FindCalculator() const override;

  // QProcess::startDetached.
  static bool StartDetached(const QString& program, const QStringList& arguments,
                            const QString& directory);

 private:
  bool OpenWithDesktop(const QString& target, const QString& directory) const;

  Starter starter_;
};

}  // namespace pelorin::lnx
