#pragma once
// The program from start to end: number settings, the application object,
// the main window and its creation handler, the About and Help windows, then
// the event loop until the main window closes.

#include <QStringList>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>

#include "history/PriceFile.h"

namespace tavimo::app {

class TForm5;
class TForm7;
class TMainForm;
class TShell;
class TTavimoApplication;

struct TTavimoWindows {
  std::unique_ptr<TMainForm> mainForm;
  TForm5* about = nullptr;  // owned by mainForm
  TForm7* help = nullptr;   // owned by mainForm
};

// The main window with its creation handler run under the creation guard
// (what it raises is reported before anything is shown), then the About and
// Help windows, hidden. creationHandler stands in for FormCreate in tests.
TTavimoWindows CreateWindows(TTavimoApplication& application, TShell& shell, const std::string& settingsPath,
                             const std::function<void(TMainForm&)>& creationHandler = {});

// The price files the command line may name, each read on a thread of its
// own from before Qt starts, so a large file is read while the windows are
// made. Every word after the program that is not an option and names a
// regular file is read (Qt's options are not known yet); what the command
// line does not open in the end is dropped.
using TPriceFileReads = std::map<std::string, std::future<PriceFileRead>>;
TPriceFileReads PrefetchPriceFiles(int argc, char** argv);

// Each file the command line names after the program (Qt's own options
// already taken out), in a price window of its own; a file that cannot be
// read is reported and the next one opened.
// reads: files already being read (PrefetchPriceFiles), used where they match.
void OpenArgumentFiles(TTavimoApplication& application, TMainForm& mainForm, const QStringList& arguments,
                       TPriceFileReads* reads = nullptr);

// The whole run. The exit status of the event loop, or 1 after the
// last-chance box when an exception escaped every guard.
int RunTavimo(int& argc, char** argv);

}  // namespace tavimo::app
