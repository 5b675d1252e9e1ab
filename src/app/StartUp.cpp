#include "app/StartUp.h"

#include <sys/stat.h>

#include <QIcon>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/AboutForm.h"
#include "app/ChartWidget.h"
#include "app/HelpForm.h"
#include "app/Language.h"
#include "app/MainForm.h"
#include "app/MakerInfo.h"
#include "app/PriceChartWidget.h"
#include "app/PriceChartWindow.h"
#include "app/Prompter.h"
#include "app/Shell.h"
#include "app/TavimoApplication.h"
#include "settings/SettingsFile.h"
#include "platform/LocaleNumberFormat.h"

namespace tavimo::app {

namespace {
// For start-up measurements: leave as soon as the first chart frame is on screen.
bool ExitAfterFirstPaint() {
  const char* value = std::getenv("TAVIMO_EXIT_AFTER_FIRST_PAINT");
  return value && value[0] == '1';
}

// Prints when the frame was painted, on the clock the measuring program reads, and leaves.
void ReportFirstFrameAndExit() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("first frame painted at %lld ns\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stdout);
  QCoreApplication::exit(0);
}
}  // namespace

TTavimoWindows CreateWindows(TTavimoApplication& application, TShell& shell, const std::string& settingsPath,
                             const std::function<void(TMainForm&)>& creationHandler) {
  TTavimoWindows windows;
  windows.mainForm = std::make_unique<TMainForm>(application.Reporter(), shell, settingsPath);
  TMainForm& mainForm = *windows.mainForm;
  application.Reporter().Guard([&] {
    if (creationHandler)
      creationHandler(mainForm);
    else
      mainForm.FormCreate();
  });
  windows.about = new TForm5(&mainForm, shell);
  windows.help = new TForm7(&mainForm);
  mainForm.SetSecondaryWindows(windows.about, windows.help);
  return windows;
}

TPriceFileReads PrefetchPriceFiles(int argc, char** argv) {
  TPriceFileReads reads;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    // Regular files only: a pipe or a device could keep its thread, and the exit, waiting.
    struct stat status {};
    if (word.empty() || word[0] == '-' || reads.count(word) != 0 || ::stat(word.c_str(), &status) != 0 ||
        !S_ISREG(status.st_mode))
      continue;
    reads.emplace(word, std::async(std::launch::async, [word] { return ReadPriceFile(word); }));
  }
  return reads;
}

void OpenArgumentFiles(TTavimoApplication& application, TMainForm& mainForm, const QStringList& arguments,
                       TPriceFileReads* reads) {
  bool measured = false;
  for (qsizetype i = 1; i < arguments.size(); ++i)
    application.Reporter().Guard([&, file = arguments[i].toStdString()] {
      std::optional<PriceFileRead> read;
      if (reads != nullptr) {
        const auto at = reads->find(file);
        if (at != reads->end() && at->second.valid()) read = at->second.get();
      }
      TPriceChartWindow* window = mainForm.OpenPriceFile(file, std::move(read));
      // Measuring the opening of a file: its window's first frame ends the run.
      if (window != nullptr && !measured && ExitAfterFirstPaint()) {
        measured = true;
        QObject::connect(window->Chart(), &TPriceChartWidget::FirstFramePainted, &application, ReportFirstFrameAndExit);
      }
    });
}

int RunTavimo(int& argc, char** argv) {
  platform::LoadNumberFormatSettings();
  TPriceFileReads reads = PrefetchPriceFiles(argc, argv);

  TQtPrompter prompter;
  TDesktopShell shell;
  TTavimoApplication application(argc, argv, prompter);
  try {
    application.setWindowIcon(QIcon(QStringLiteral(":/tavimo/tavimo.png")));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(program::kApplicationId));
    InstallTranslations(application, ChooseUiLanguage(QLocale::system().uiLanguages(), ChineseFontInstalled()));
    TTavimoWindows windows = CreateWindows(application, shell, SettingsFilePath());
    TMainForm& mainForm = *windows.mainForm;
    // With files to open, the measurement waits for the first file's window.
    if (ExitAfterFirstPaint() && QCoreApplication::arguments().size() <= 1)
      QObject::connect(mainForm.Chart1(), &TChartWidget::FirstFramePainted, &application, ReportFirstFrameAndExit);
    mainForm.PlaceCentred();
    mainForm.show();
    OpenArgumentFiles(application, mainForm, QCoreApplication::arguments(), &reads);
    return application.exec();
  } catch (...) {
    application.Reporter().ShowLastChanceBox(std::current_exception());
    return 1;
  }
}

}  // namespace tavimo::app
