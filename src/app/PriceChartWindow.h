#pragma once
// The window of one price file: its candles, the zigzag of its swings for
// the change on the tool bar, and the levels of the current leg, or of the
// leg the user clicks, which the main window then computes as well. The
// status line tells the rows the file skipped and the bar under the
// crosshair. Everything shown is computed by the price-history and level
// libraries; the window only hands it to the chart.

#include <future>
#include <QMainWindow>
#include <optional>
#include <string>
#include <vector>

#include "app/Language.h"
#include "calc/LevelView.h"
#include "confluence/Confluence.h"
#include "chart/Color.h"
#include "history/PriceFile.h"
#include "history/Reactions.h"
#include "history/Swings.h"

class QAction;
class QLabel;
class QMenu;
class QDockWidget;
class QSpinBox;
class QDoubleSpinBox;
class QTableWidget;

namespace tavimo::app {

class TErrorReporter;
class TMainForm;
class TPriceChartWidget;

class TPriceChartWindow : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kDefaultChange = 5;
  static constexpr int kDefaultTolerance = 30;  // thousandths: 0.03

  // Reads path: on an error the error box shows the reader's message and
  // nothing is made (null). The window is not shown yet.
  // `read`, when given, is the file as read already (at start-up, while
  // the windows were made).
  static TPriceChartWindow* Open(TErrorReporter& reporter, TMainForm& mainForm, const std::string& settingsPath,
                                 const std::string& path, std::optional<PriceFileRead> read = std::nullopt);

  const std::string& Path() const { return path_; }
  const PriceFileResult& Data() const { return data_; }
  TPriceChartWidget* Chart() const { return chart_; }
  QSpinBox* ChangeBox() const { return changeBox_; }
  QDoubleSpinBox* ToleranceBox() const { return toleranceBox_; }
  // The statistics' tolerance in thousandths (30: 0.030), stored as key
  // tolerance only when changed from the default.
  int Tolerance() const { return tolerance_; }
  void SetTolerance(int thousandths);
  QLabel* SkippedLabel() const { return skippedLabel_; }
  QLabel* CrosshairLabel() const { return crosshairLabel_; }
  const std::vector<SwingPoint>& Swings() const { return swings_; }
  // The reaction statistics of this file's zigzag at the window's tolerance,
  // shown in the statistics dock as a table and a histogram of the depths.
  const ReactionStats& Statistics() const { return stats_; }
  QDockWidget* StatisticsDock() const { return statsDock_; }
  QTableWidget* StatisticsTable() const { return statsTable_; }
  // The leg whose levels are shown (1: the current leg), none when there is no leg.
  std::optional<std::size_t> ShownLeg() const { return shownLeg_; }
  const std::vector<LevelRow>& LevelRows() const { return levels_.rows; }

  // The candle colours of the market convention of the window's language
  // (Chinese: rising red, falling green; English: rising green, falling
  // red), or the other way round when swapped.
  static chart::TColor RisingColor(TUiLanguage language, bool swapped);
  static chart::TColor FallingColor(TUiLanguage language, bool swapped) { return RisingColor(language, !swapped); }
  bool ColorsSwapped() const { return swapped_; }
  // Swaps the candle colours, stored only when not the default.
  void SetColorsSwapped(bool swapped);

  // Commands of the keys and the chart's menu.
  void CopyLevels();   // Ctrl+C: the shown levels as the main window copies its own
  void SavePicture();  // Ctrl+S: the chart as a PNG file
  void ClearSelection();  // no leg selected, no levels shown
  QMenu* ChartMenu() const { return chartMenu_; }
  QAction* LogScaleAction() const { return logScaleAction_; }
  QAction* SwapColorsAction() const { return swapColorsAction_; }

  // The zigzag for change `percent`, stored when it is not the default; the current leg shown.
  void SetChange(int percent);
  // Leg n (1: the current leg) selected: its levels shown here and computed in the main window.
  void SelectLeg(std::size_t n);
  // The levels of the current leg, without touching the main window.
  void ShowCurrentLeg();
  // Leg n added to the selection (or taken out when it is in it); with two
  // or more legs their confluence zones are shown.
  void ToggleLeg(std::size_t n);
  const std::vector<std::size_t>& SelectedLegs() const { return selectedLegs_; }
  const std::vector<ConfluenceZone>& Zones() const { return zones_; }
  // A wave drawn by hand from one bar's price to another's, shown and
  // computed as a leg is.
  void SelectDrawnWave(int fromBar, double fromPrice, int toBar, double toPrice);

 private:
  TPriceChartWindow(TErrorReporter& reporter, TMainForm& mainForm, std::string settingsPath, std::string path,
                    PriceFileResult data, int change, bool swapped, int tolerance);
  void ApplyColors();
  QAction* AddCommand(const QString& text, const QKeySequence& key, void (TPriceChartWindow::*handler)());
  // The swings of the change shown, taken from `found` when they are being found already.
  void FindTheSwings(std::future<std::vector<SwingPoint>>* found = nullptr);
  void ShowStatistics();
  // The statistics of swings_ for the tolerance and ratios shown, counted by `policy`.
  std::future<ReactionStats> CountStatistics(std::launch policy) const;
  void ShowStatistics(std::future<ReactionStats> counting);
  // Leg n's levels on the chart; the leg, or none when there is no such leg.
  std::optional<SwingLeg> ShowLeg(std::size_t n);
  void ShowLevels(ComputeMode mode, double low, double high, int fromBar);
  void ShowSelection();
  LevelPresentation Presentation() const;
  void ShowCrosshair(int bar, double price);
  std::string PriceText(double price) const;

  TErrorReporter& reporter_;
  TMainForm& mainForm_;
  std::string settingsPath_;
  std::string path_;
  PriceFileResult data_;
  int change_ = kDefaultChange;
  int tolerance_ = kDefaultTolerance;
  bool swapped_ = false;
  std::string lastPicturePath_;
  std::vector<SwingPoint> swings_;
  std::optional<std::size_t> shownLeg_;
  LevelView levels_;
  std::vector<std::size_t> selectedLegs_;
  std::vector<ConfluenceZone> zones_;
  ReactionStats stats_;

  TPriceChartWidget* chart_;
  QSpinBox* changeBox_;
  QDoubleSpinBox* toleranceBox_;
  QLabel* skippedLabel_;
  QLabel* crosshairLabel_;
  QMenu* chartMenu_;
  QDockWidget* statsDock_;
  QTableWidget* statsTable_;
  QWidget* histogram_;
  QAction* logScaleAction_;
  QAction* swapColorsAction_;
};

}  // namespace tavimo::app
