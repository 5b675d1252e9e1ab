#include "AppTestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <fstream>
#include <random>
#include <sstream>

#include "app/MainForm.h"
#include "app/TavimoApplication.h"
#include "calc/RatioList.h"
#include "chart/BarSeries.h"
#include "chart/Chart.h"

namespace tavimo::app::test {

void TScriptedPrompter::ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                                    TPromptIcon icon) {
  messages.push_back({text, caption, icon, parent != nullptr, mainWindow && mainWindow->isVisible()});
  if (onMessage) onMessage();
}

std::string TScriptedPrompter::AskRatioText(QWidget*, const std::string& initialText) {
  askedInitialTexts.push_back(initialText);
  if (answers_.empty()) {
    ADD_FAILURE() << "the ratio dialog was shown without a scripted answer";
    return initialText;
  }
  std::optional<std::string> answer = std::move(answers_.front());
  answers_.pop_front();
  return answer ? *answer : initialText;
}

std::optional<std::string> TScriptedPrompter::NextOtherAnswer(const char* prompt) {
  if (otherAnswers_.empty()) {
    ADD_FAILURE() << prompt << " was shown without a scripted answer";
    return std::nullopt;
  }
  std::optional<std::string> answer = std::move(otherAnswers_.front());
  otherAnswers_.pop_front();
  return answer;
}

std::optional<std::string> TScriptedPrompter::AskText(QWidget*, const std::string&, const std::string&,
                                                      const std::string& initialText) {
  offeredTexts.push_back(initialText);
  return NextOtherAnswer("a text prompt");
}

std::optional<std::string> TScriptedPrompter::AskChoice(QWidget* parent, const std::string& caption,
                                                        const std::string& prompt,
                                                        const std::vector<std::string>& items) {
  offeredChoices = items;
  if (realChoiceDialog) return TQtPrompter().AskChoice(parent, caption, prompt, items);
  return NextOtherAnswer("a choice");
}

std::optional<std::string> TScriptedPrompter::AskPicturePath(QWidget*, const std::string&,
                                                             const std::string& suggestedPath) {
  suggestedPaths.push_back(suggestedPath);
  return NextOtherAnswer("the picture file dialog");
}

std::optional<std::string> TScriptedPrompter::AskCsvPath(QWidget*, const std::string&,
                                                         const std::string& suggestedPath) {
  suggestedPaths.push_back(suggestedPath);
  return NextOtherAnswer("the CSV file dialog");
}

std::optional<std::string> TScriptedPrompter::AskPriceFilePath(QWidget*, const std::string&,
                                                               const std::string& directory) {
  suggestedPaths.push_back(directory);
  return NextOtherAnswer("the price file dialog");
}

void TScriptedPrompter::Reset() {
  messages.clear();
  askedInitialTexts.clear();
  offeredTexts.clear();
  offeredChoices.clear();
  suggestedPaths.clear();
  answers_.clear();
  otherAnswers_.clear();
  realChoiceDialog = false;
  onMessage = nullptr;
  mainWindow = nullptr;
}

void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

TTempDir::TTempDir() {
  std::random_device random;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() / ("tavimo-app-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

void WindowTest::SetUp() {
  Prompter().Reset();
  settingsPath_ = SettingsPath().string();
  ReplaceRatioList({});
}

void WindowTest::TearDown() {
  windows_ = {};
  ProcessEvents();
  Prompter().Reset();
}

void WindowTest::CreateTheWindows(const std::function<void(TMainForm&)>& creationHandler) {
  // A message shown while the windows are made must not look at windows an earlier test freed.
  Prompter().mainWindow = nullptr;
  windows_ = CreateWindows(Application(), shell_, settingsPath_, creationHandler);
  Prompter().mainWindow = windows_.mainForm.get();
}

void WindowTest::ShowTheMainWindow() {
  CreateTheWindows();
  Form().show();
  QApplication::setActiveWindow(&Form());
}

void ShownChartTest::SetUp() {
  WindowTest::SetUp();
  ShowTheMainWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
  PaintNow();
}

void ShownChartTest::PaintNow() {
  Chart().repaint();
  ProcessEvents();
}

TChartWidget& ShownChartTest::Chart() { return *Form().Chart1(); }

chart::TChart& ShownChartTest::Engine() { return Chart().Chart(); }

std::vector<double> WindowTest::BarValues() {
  std::vector<double> values;
  const chart::THorizBarSeries& series = Form().Series1();
  for (int i = 0; i < series.PointCount(); ++i) values.push_back(series.PointX(i));
  return values;
}

std::vector<std::string> WindowTest::BarLabels() {
  std::vector<std::string> labels;
  const chart::THorizBarSeries& series = Form().Series1();
  for (int i = 0; i < series.PointCount(); ++i) labels.push_back(series.PointLabel(i));
  return labels;
}

}  // namespace tavimo::app::test
