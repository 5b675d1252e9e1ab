// The window tests run inside one application object, built as the program
// builds its own, whose boxes the scripted prompter answers.

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/TavimoApplication.h"
#include "runtime/NumberFormatSettings.h"

namespace tavimo::app::test {
namespace {
TScriptedPrompter* prompter = nullptr;
TTavimoApplication* application = nullptr;
}  // namespace

TScriptedPrompter& Prompter() { return *prompter; }
TTavimoApplication& Application() { return *application; }

}  // namespace tavimo::app::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  tavimo::SetGlobalNumberFormatSettings({});
  tavimo::app::test::TScriptedPrompter prompter;
  // The boxes are captioned as for the installed program, /usr/bin/tavimo.
  tavimo::app::TTavimoApplication application(argc, argv, prompter, "/usr/bin/tavimo");
  tavimo::app::test::prompter = &prompter;
  tavimo::app::test::application = &application;
  return RUN_ALL_TESTS();
}
