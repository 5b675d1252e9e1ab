#pragma once
// Every modal prompt the program shows (message boxes, the ratio input
// dialog, error boxes, the name and file choosers) goes through TPrompter,
// so tests can answer them without a person. TQtPrompter is the real one.

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tavimo::app {

enum class TPromptIcon { None, Error };

class TPrompter {
 public:
  virtual ~TPrompter() = default;
  // A modal box with one OK button. parent may be null (no owner window).
  virtual void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                           TPromptIcon icon) = 0;
  // The ratio input dialog: the edit text after OK, initialText after Cancel
  // or when the dialog is closed otherwise.
  virtual std::string AskRatioText(QWidget* parent, const std::string& initialText) = 0;
  // A line of text typed by the user, initialText offered first; nothing after Cancel.
  virtual std::optional<std::string> AskText(QWidget* parent, const std::string& caption, const std::string& prompt,
                                             const std::string& initialText) = 0;
  // One of items, picked by the user from a list they can filter; nothing after Cancel.
  virtual std::optional<std::string> AskChoice(QWidget* parent, const std::string& caption,
                                               const std::string& prompt, const std::vector<std::string>& items) = 0;
  // The path of a PNG file to write, suggestedPath offered first; nothing
  // after Cancel.
  virtual std::optional<std::string> AskPicturePath(QWidget* parent, const std::string& caption,
                                                    const std::string& suggestedPath) = 0;
  // The path of a CSV file to write, suggestedPath offered first; nothing after Cancel.
  virtual std::optional<std::string> AskCsvPath(QWidget* parent, const std::string& caption,
                                                const std::string& suggestedPath) = 0;
  // The path of a price file (CSV or text) to read, starting in directory; nothing after Cancel.
  virtual std::optional<std::string> AskPriceFilePath(QWidget* parent, const std::string& caption,
                                                      const std::string& directory) = 0;
};

class TQtPrompter : public TPrompter {
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
};

}  // namespace tavimo::app
