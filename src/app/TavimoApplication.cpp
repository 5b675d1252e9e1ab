#include "app/TavimoApplication.h"

#include "platform/ExecutablePath.h"

// The icon and the help text live in a resource file linked from a static library.
static void InitResources() { Q_INIT_RESOURCE(tavimo); }

namespace tavimo::app {

namespace {
std::string RunningExecutable(int argc, char** argv) {
  std::string path = platform::ExecutablePath();
  if (path.empty() && argc > 0 && argv[0]) path = argv[0];
  return path;
}
}  // namespace

TTavimoApplication::TTavimoApplication(int& argc, char** argv, TPrompter& prompter,
                                       const std::string& executablePath)
    : QApplication(argc, argv),
      reporter_(prompter, executablePath.empty() ? RunningExecutable(argc, argv) : executablePath) {
  InitResources();
}

bool TTavimoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    reporter_.ReportException(std::current_exception());
    return false;
  }
}

}  // namespace tavimo::app
