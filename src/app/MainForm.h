#pragma once
// The main window: the two price boxes, the command buttons and the chart
// that fills the window. Every command hands its work to the level
// calculator or the chart and only shows the outcome. Beside the buttons the
// window has keys (Enter in the high box, Alt+1 ... Alt+4, Ctrl+C, Ctrl+S,
// F1) and a menu on the chart, which also holds the level settings (price
// tick, log scale) and opens the confluence window.

#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ComputeCommand.h"
#include "calc/LevelText.h"
#include "calc/LevelView.h"
#include "history/PriceFile.h"
#include "settings/RatioPresets.h"
#include "settings/SettingsFile.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tavimo::chart {
class THorizBarSeries;
}

namespace tavimo::app {

class TChartWidget;
class TConfluenceForm;
class TPriceChartWindow;
class TErrorReporter;
class TShell;

class TMainForm : public QWidget {
  Q_OBJECT
 public:
  // settingsPath is the data.ini the settings command stores the list in.
  TMainForm(TErrorReporter& reporter, TShell& shell, std::string settingsPath);

  // The window's windows to show from the About and Help buttons.
  void SetSecondaryWindows(QWidget* about, QWidget* help);

  // The creation handler: loads the ratio list and makes one bar per entry.
  void FormCreate();

  // Centred on the screen, at the outer size the window was designed with.
  void PlaceCentred();

  // Commands, one per button.
  void Button1Click();  // About
  void Button2Click();  // rise from the low
  void Button3Click();  // decline from the high
  void Button4Click();  // rebound resistance
  void Button5Click();  // pullback support
  void Button6Click();  // clear
  void Button7Click();  // calculator
  void Button8Click();  // exit
  void Button9Click();  // Help
  void Button10Click(); // check for updates
  void Button11Click(); // ratio settings

  // Commands of the keys and the chart's menu.
  void CopyLevels();   // Ctrl+C: the levels as text lines and an HTML table
  void SavePicture();  // Ctrl+S: the chart as a PNG file
  void ResetView();    // the axes back to automatic, as at start-up
  // A preset's list, applied as the settings command applies a new text
  // (nothing happens when it is the list in effect).
  void ChoosePreset(const std::string& text);
  void SavePresetAs();  // the list in effect as a preset of the user's
  void DeletePreset();  // one of the user's presets, as the settings file holds them now
  // The price tick: asks for its text (the one in effect offered), stores
  // it (empty removes it) and shows the levels on it at once.
  void SetPriceTick();
  // Log scale on or off for resistance, support and the projections,
  // stored and applied to the levels shown at once.
  void SetLogScale(bool on);
  // The confluence window, made when first asked for and then reused.
  void ShowConfluence();
  // A wave from another window: the boxes receive its low and high texts
  // and mode's command runs on them, as its button runs it.
  void ShowWave(ComputeMode mode, const std::string& lowText, const std::string& highText);

  // A price file in a window of its own, shown in front (the window it
  // already has is raised); null after a read error, which the error box
  // tells. A file opened is put first in the recent files.
  TPriceChartWindow* OpenPriceFile(const std::string& path, std::optional<PriceFileRead> read = std::nullopt);
  // Ctrl+O: a price file chosen in the file dialog.
  void OpenPriceFileDialog();
  // The price files opened last, newest first, as data.ini holds them.
  std::vector<std::string> RecentPriceFiles() const;
  static constexpr std::size_t kRecentFiles = 5;
  // The price windows open now.
  std::vector<TPriceChartWindow*> PriceWindows() const;
  QAction* OpenPriceAction() const { return openPriceAction_; }

  // The ratio list text in effect: the stored one at start, then the last applied.
  const std::string& RatioText() const { return ratioText_; }
  // The tick and scale in effect: the stored ones at start, then the last set.
  const LevelSettings& Levels() const { return levelSettings_; }
  // The levels shown, one row per bar, as tavimo-cli prints them.
  std::vector<LevelRow> LevelRows() const;

  TChartWidget* Chart1() const { return chart1_; }
  chart::THorizBarSeries& Series1() const;
  QLabel* Label3() const { return label3_; }
  QGroupBox* GroupBox1() const { return groupBox1_; }
  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit2() const { return edit2_; }
  // Button1 ... Button11 by number.
  QPushButton* Button(int number) const;
  // The chart's menu, made when first asked for.
  QMenu* ChartMenu();
  QAction* PriceTickAction() const { return priceTickAction_; }
  QAction* LogScaleAction() const { return logScaleAction_; }
  QAction* ConfluenceAction() const { return confluenceAction_; }
  // Null until first shown.
  TConfluenceForm* Confluence() const { return confluence_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Price files dropped on the window are opened.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The compute command the chart shows, so that a new tick or scale can
  // show the same computation again.
  struct ShownComputation {
    ComputeMode mode = ComputeMode::Resistance;
    std::string lowText;
    std::string highText;
  };
  // The computation under settings, its levels shown (raises the tick's and
  // the formulas' errors, changes nothing).
  static LevelView ViewLevels(const ShownComputation& computation, const LevelSettings& settings);
  void Show(ShownComputation computation, LevelView view);
  // The bars back at 0 for the list in effect, as at start-up.
  void ShowUncomputed();
  // A new tick or scale: the shown computation is redone under it first (its
  // errors leave everything as it was), then the setting is stored, then shown.
  void ApplyLevelSettings(const LevelSettings& settings);
  void UpdateLevelSettingsActions();
  void Compute(ComputeMode mode);
  // As the settings command applies a new text: a new list, new bars at 0, the text stored.
  void ApplyRatioText(const std::string& text);
  // The chart tells assistive technology the levels it shows.
  void DescribeLevels();
  void PopUpChartMenu(const QPoint& globalPosition);
  // The presets' submenu as the settings file holds them now: the first of
  // the user's presets, and a list of them all when there are more.
  void FillPresetsMenu();
  void FillRecentMenu();
  void RememberPriceFile(const std::string& path);
  // One of presets, chosen from a list the user can filter, applied as ChoosePreset applies it.
  void ChooseUserPreset(const std::vector<RatioPreset>& presets);
  void DeleteOneOf(const std::vector<RatioPreset>& presets);
  QPushButton* AddButton(int number, QWidget* parent, const QRect& geometry, const QString& caption,
                         void (TMainForm::*handler)());
  // A window-wide key that runs handler under the window's guard.
  QAction* AddCommand(const QString& text, const QKeySequence& key, void (TMainForm::*handler)(),
                      Qt::ShortcutContext context = Qt::WindowShortcut);

  TErrorReporter& reporter_;
  TShell& shell_;
  std::string settingsPath_;
  std::string ratioText_;
  LevelSettings levelSettings_;
  std::optional<ShownComputation> shown_;
  LevelView shownView_;  // the rows the chart shows, which Ctrl+C copies
  ComputeMode lastMode_ = ComputeMode::Resistance;
  QWidget* about_ = nullptr;
  QWidget* help_ = nullptr;

  TChartWidget* chart1_;
  QLabel* label3_;
  QGroupBox* groupBox1_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QPushButton* buttons_[12] = {};
  std::string lastPicturePath_;
  QAction* copyAction_ = nullptr;
  QAction* savePictureAction_ = nullptr;
  QAction* resetViewAction_ = nullptr;
  QAction* helpAction_ = nullptr;
  QAction* priceTickAction_ = nullptr;
  QAction* logScaleAction_ = nullptr;
  QAction* confluenceAction_ = nullptr;
  TConfluenceForm* confluence_ = nullptr;
  QMenu* chartMenu_ = nullptr;
  QMenu* presetsMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction* openPriceAction_ = nullptr;
  std::vector<QPointer<TPriceChartWindow>> priceWindows_;
  std::string lastPriceDirectory_;
};

}  // namespace tavimo::app
