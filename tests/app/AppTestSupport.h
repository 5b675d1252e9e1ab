#pragma once
// What the window tests share: a prompter that answers from a script and
// records every box, a shell that records what it was asked to open, and a
// fixture with the windows built over a data.ini of its own.

#include <gtest/gtest.h>

#include <QApplication>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ChartWidget.h"
#include "app/Prompter.h"
#include "app/Shell.h"
#include "app/StartUp.h"

namespace tavimo::app::test {

struct ShownMessage {
  std::string text;
  std::string caption;
  TPromptIcon icon;
  bool hadOwner;
  // Whether the main window was visible when the box opened.
  bool mainWindowVisible;
};

class TScriptedPrompter : public TPrompter {
 public:
  void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                   TPromptIcon icon) override;
  std::string AskRatioText(QWidget* parent, const std::string& initialText) override;
  std::optional<std::string> AskText(QWidget* parent, const std::string& caption, const std::string& prompt,
                                     const std::string& initialText) override;
  std::optional<std::string> AskChoice(QWidget* parent, const std::string& caption, const std::string& prompt,
                                       const std::vector<std::string>& items) override;
  std::optional<std::string> AskPicturePath(QWidget* parent, const std::string& caption,
                                            const std::string& suggestedPath) override;
  std::optional<std::string> AskCsvPath(QWidget* parent, const std::string& caption,
                                        const std::string& suggestedPath) override;
  std::optional<std::string> AskPriceFilePath(QWidget* parent, const std::string& caption,
                                              const std::string& directory) override;

  // The next AskRatioText returns this text (as after OK).
  void AnswerOk(std::string text) { answers_.push_back(std::move(text)); }
  // The next AskRatioText returns its initial text (as after Cancel).
  void AnswerCancel() { answers_.push_back(std::nullopt); }
  // The next AskText, AskChoice or AskPicturePath gets this answer (nothing: Cancel).
  void Answer(std::optional<std::string> answer) { otherAnswers_.push_back(std::move(answer)); }

  void Reset();

  std::vector<ShownMessage> messages;
  std::vector<std::string> askedInitialTexts;
  // What AskText offered, each time.
  std::vector<std::string> offeredTexts;
  // What AskChoice offered, the last time.
  std::vector<std::string> offeredChoices;
  // What AskPicturePath and AskCsvPath suggested, each time.
  std::vector<std::string> suggestedPaths;
  // AskChoice shows the real list dialog instead of taking a scripted answer.
  bool realChoiceDialog = false;
  // Runs while a box is up (for checks of what the box found).
  std::function<void()> onMessage;
  QWidget* mainWindow = nullptr;

 private:
  std::optional<std::string> NextOtherAnswer(const char* prompt);
  std::deque<std::optional<std::string>> answers_;
  std::deque<std::optional<std::string>> otherAnswers_;
};

class TRecordingShell : public TShell {
 public:
  void OpenAddress(const std::string& address) override { opened.push_back(address); }
  void StartCalculator() override { ++calculatorStarts; }
  std::vector<std::string> opened;
  int calculatorStarts = 0;
};

// The prompter the test program's application object reports through.
TScriptedPrompter& Prompter();
TTavimoApplication& Application();

// Processes pending events (posted deletions, queued calls, updates).
void ProcessEvents();

// A temporary folder removed with the fixture.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);

// The windows over <temp>/data.ini, built as start-up builds them.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Builds the windows; the default list is in effect unless data.ini says otherwise.
  void CreateTheWindows(const std::function<void(TMainForm&)>& creationHandler = {});
  // Builds the windows and shows the main window as the active one.
  void ShowTheMainWindow();

  TMainForm& Form() { return *windows_.mainForm; }
  std::filesystem::path SettingsPath() const { return temp_.Path() / "data.ini"; }
  // Bar values and labels, in bar order.
  std::vector<double> BarValues();
  std::vector<std::string> BarLabels();

  TTempDir temp_;
  TRecordingShell shell_;
  TTavimoWindows windows_;
  std::string settingsPath_;
};

// The main window on screen with its chart painted once.
class ShownChartTest : public WindowTest {
 protected:
  void SetUp() override;
  void PaintNow();
  TChartWidget& Chart();
  chart::TChart& Engine();
};

}  // namespace tavimo::app::test
