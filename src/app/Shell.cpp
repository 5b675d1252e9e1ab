#include "app/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tavimo::app {

const std::vector<std::string>& CalculatorPrograms() {
  static const std::vector<std::string> programs = {"gnome-calculator", "kcalc", "mate-calc",
                                                    "galculator", "qalculate-gtk", "xcalc"};
  return programs;
}

std::string FindCalculator() {
  for (const std::string& name : CalculatorPrograms()) {
    const QString path = QStandardPaths::findExecutable(QString::fromStdString(name));
    if (!path.isEmpty()) return path.toStdString();
  }
  return {};
}

void TDesktopShell::OpenAddress(const std::string& address) {
  QDesktopServices::openUrl(QUrl(QString::fromUtf8(address)));
}

void TDesktopShell::StartCalculator() {
  const std::string path = FindCalculator();
  if (path.empty()) return;
  // An argument list, never a command line: the path goes to exec as it is.
  QProcess::startDetached(QString::fromStdString(path), QStringList());
}

}  // namespace tavimo::app
