#include "app/PriceChartWindow.h"

#include <QFileInfo>
#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>
#include <QSpinBox>
#include <QDoubleSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <charconv>
#include <future>
#include <cmath>

#include "app/ErrorReporting.h"
#include "app/MainForm.h"
#include "app/MenuItems.h"
#include "app/PriceChartWidget.h"
#include "app/Prompter.h"
#include "app/UserFiles.h"
#include "calc/LevelText.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "chart/DepthHistogram.h"
#include "chart/RasterCanvas.h"
#include "confluence/Confluence.h"
#include "history/PriceTime.h"
#include "history/Scan.h"
#include "platform/ProfileFile.h"
#include "pricechart/PriceChartContent.h"
#include "runtime/Exceptions.h"
#include "runtime/NumberFormatSettings.h"
#include "settings/SettingsStore.h"

namespace tavimo::app {

namespace {
constexpr std::string_view kSection = "tvmo";
constexpr std::string_view kChangeKey = "change";
constexpr std::string_view kToleranceKey = "tolerance";
constexpr std::string_view kCandlesKey = "candles";
constexpr std::string_view kSwappedValue = "swapped";
// Bad rows the status line names; the count says how many there were in all.
constexpr std::size_t kNamedBadRows = 3;

// The stored change, or the default for a missing or unusable value.
int StoredChange(const std::optional<std::string>& stored) {
  if (!stored) return TPriceChartWindow::kDefaultChange;
  const std::string& text = *stored;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 99)
    return TPriceChartWindow::kDefaultChange;
  return value;
}

// A stored tolerance in thousandths, 0 to 1000; the default for any other text.
int StoredTolerance(const std::optional<std::string>& stored) {
  if (!stored) return TPriceChartWindow::kDefaultTolerance;
  try {
    const double value = ReactionTolerance(*stored).Value();
    if (value <= 1) return static_cast<int>(std::lround(value * 1000));
  } catch (const EConvertError&) {
  }
  return TPriceChartWindow::kDefaultTolerance;
}

// Thousandths as the decimal text the statistics read exactly ("0.030").
std::string ToleranceText(int thousandths) {
  std::string text = std::to_string(thousandths / 1000) + ".";
  const std::string fraction = std::to_string(1000 + thousandths % 1000);
  return text + fraction.substr(1);
}

QString SkippedText(const std::vector<std::string>& badRows) {
  QStringList named;
  for (std::size_t i = 0; i < badRows.size() && i < kNamedBadRows; ++i)
    named << QString::fromStdString(badRows[i]);
  QString text = TPriceChartWindow::tr("%n 行已跳过：", nullptr, static_cast<int>(badRows.size())) +
                 named.join(QStringLiteral("; "));
  if (badRows.size() > kNamedBadRows) text += QStringLiteral("; …");
  return text;
}
// The depths of the statistics as the histogram draws them, at the device pixel ratio.
class TDepthHistogramWidget : public QWidget {
 public:
  explicit TDepthHistogramWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(220, 160);
  }
  void SetInput(chart::DepthHistogramInput input) {
    input_ = std::move(input);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    canvas_.SetScale(devicePixelRatioF());
    const chart::Rect area = canvas_.SetupWindow(width(), height());
    chart::DrawDepthHistogram(canvas_, area, input_);
    canvas_.ShowImage();
    QPainter(this).drawImage(0, 0, canvas_.Image());
  }

 private:
  chart::TRasterCanvas canvas_;
  chart::DepthHistogramInput input_;
};

// Work over this many items is worth a thread of its own; less is done in place.
std::launch Apart(std::size_t items) { return items >= 50000 ? std::launch::async : std::launch::deferred; }

}  // namespace

TPriceChartWindow* TPriceChartWindow::Open(TErrorReporter& reporter, TMainForm& mainForm,
                                           const std::string& settingsPath, const std::string& path,
                                           std::optional<PriceFileRead> done) {
  PriceFileRead read = done ? std::move(*done) : ReadPriceFile(path);
  if (!read.error.empty()) {
    reporter.Prompter().ShowMessage(&mainForm, read.error, reporter.Title(), TPromptIcon::Error);
    return nullptr;
  }
  const platform::ProfileValues stored =
      platform::ReadProfileValues(settingsPath, kSection, {kChangeKey, kCandlesKey, kToleranceKey});
  const auto value = [&](std::size_t i) { return i < stored.values.size() ? stored.values[i] : std::nullopt; };
  const bool swapped = value(1) == std::string(kSwappedValue);
  return new TPriceChartWindow(reporter, mainForm, settingsPath, path, std::move(read.result), StoredChange(value(0)),
                               swapped, StoredTolerance(value(2)));
}

TPriceChartWindow::TPriceChartWindow(TErrorReporter& reporter, TMainForm& mainForm, std::string settingsPath,
                                     std::string path, PriceFileResult data, int change, bool swapped, int tolerance)
    : QMainWindow(&mainForm, Qt::Window),
      reporter_(reporter),
      mainForm_(mainForm),
      settingsPath_(std::move(settingsPath)),
      path_(std::move(path)),
      data_(std::move(data)),
      change_(change),
      tolerance_(tolerance),
      swapped_(swapped) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("PriceChartWindow"));
  setWindowTitle(tr("价格图 - %1").arg(QFileInfo(QString::fromStdString(path_)).fileName()));
  resize(1100, 600);

  chart_ = new TPriceChartWidget(this);
  chart_->setObjectName(QStringLiteral("PriceChart"));
  chart_->setAccessibleName(tr("价格图"));
  setCentralWidget(chart_);
  const PriceBars& bars = data_.bars;
  // The swings are found on a thread of their own while the view takes the
  // bars and the window is built: both only read them.
  std::future<std::vector<SwingPoint>> swinging = std::async(
      Apart(bars.Size()), [this, change = SwingChange(std::to_string(change_))] {
        return FindSwings(data_.bars.high.data(), data_.bars.low.data(), data_.bars.Size(), change);
      });
  chart_->SetBars({bars.time, bars.open, bars.high, bars.low, bars.close});
  if (mainForm_.Levels().scale == LevelScale::Log) chart_->SetLogScale(true);
  ApplyColors();

  auto* tools = addToolBar(tr("工具"));
  tools->setObjectName(QStringLiteral("PriceChartTools"));
  tools->setMovable(false);
  auto* changeLabel = new QLabel(tr("转折幅度(%)："), tools);
  tools->addWidget(changeLabel);
  changeBox_ = new QSpinBox(tools);
  changeBox_->setObjectName(QStringLiteral("ChangeBox"));
  changeBox_->setAccessibleName(tr("转折幅度"));
  changeBox_->setRange(1, 99);
  changeBox_->setSuffix(QStringLiteral("%"));
  changeBox_->setValue(change_);
  changeLabel->setBuddy(changeBox_);
  tools->addWidget(changeBox_);
  connect(changeBox_, &QSpinBox::valueChanged, this,
          [this](int value) { reporter_.Guard([this, value] { SetChange(value); }); });
  auto* toleranceLabel = new QLabel(tr("统计容差："), tools);
  tools->addWidget(toleranceLabel);
  toleranceBox_ = new QDoubleSpinBox(tools);
  toleranceBox_->setObjectName(QStringLiteral("ToleranceBox"));
  toleranceBox_->setAccessibleName(tr("统计容差"));
  toleranceBox_->setToolTip(tr("回撤深度与比率相差不超过此值即计为命中"));
  toleranceBox_->setDecimals(3);
  toleranceBox_->setRange(0, 1);
  toleranceBox_->setSingleStep(0.005);
  toleranceBox_->setValue(tolerance_ / 1000.0);
  toleranceLabel->setBuddy(toleranceBox_);
  tools->addWidget(toleranceBox_);
  connect(toleranceBox_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    reporter_.Guard([this, value] { SetTolerance(static_cast<int>(std::lround(value * 1000))); });
  });

  skippedLabel_ = new QLabel(this);
  skippedLabel_->setObjectName(QStringLiteral("SkippedLabel"));
  skippedLabel_->setAccessibleName(tr("跳过的行"));
  crosshairLabel_ = new QLabel(this);
  crosshairLabel_->setObjectName(QStringLiteral("CrosshairLabel"));
  crosshairLabel_->setAccessibleName(tr("十字线"));
  statusBar()->addWidget(crosshairLabel_, 1);
  statusBar()->addPermanentWidget(skippedLabel_);
  if (!data_.badRows.empty()) skippedLabel_->setText(SkippedText(data_.badRows));
  skippedLabel_->setVisible(!data_.badRows.empty());

  connect(chart_, &TPriceChartWidget::CrosshairMoved, this, &TPriceChartWindow::ShowCrosshair);
  connect(chart_, &TPriceChartWidget::SegmentClicked, this, [this](int segment, Qt::KeyboardModifiers modifiers) {
    // Segment i joins points i and i + 1; the current leg is the last one.
    const std::size_t n = swings_.size() - 1 - static_cast<std::size_t>(segment);
    if (modifiers & Qt::ShiftModifier) reporter_.Guard([this, n] { ToggleLeg(n); });
    else reporter_.Guard([this, n] { SelectLeg(n); });
  });
  connect(chart_, &TPriceChartWidget::WaveDrawn, this, [this](const TChartWave& wave) {
    reporter_.Guard([this, wave] { SelectDrawnWave(wave.fromBar, wave.fromPrice, wave.toBar, wave.toPrice); });
  });

  QAction* copy = AddCommand(tr("复制价位(&C)"), QKeySequence::Copy, &TPriceChartWindow::CopyLevels);
  QAction* save = AddCommand(tr("保存图片(&S)…"), QKeySequence::Save, &TPriceChartWindow::SavePicture);
  // Home and a double click on the chart fit as well.
  auto* fit = new QAction(tr("显示全部(&A)"), this);
  connect(fit, &QAction::triggered, chart_, &TPriceChartWidget::FitAll);
  logScaleAction_ = new QAction(tr("对数刻度(&L)"), this);
  logScaleAction_->setCheckable(true);
  logScaleAction_->setChecked(chart_->LogScale());
  connect(logScaleAction_, &QAction::triggered, this, [this](bool on) {
    chart_->SetLogScale(on);
    // Refused when a price is not above 0: the item follows the scale in effect.
    logScaleAction_->setChecked(chart_->LogScale());
  });
  logScaleAction_->setEnabled(chart_->View().LogScalePossible());
  swapColorsAction_ = new QAction(tr("交换涨跌颜色(&W)"), this);
  swapColorsAction_->setCheckable(true);
  swapColorsAction_->setChecked(swapped_);
  connect(swapColorsAction_, &QAction::triggered, this, [this](bool on) {
    reporter_.Guard([this, on] { SetColorsSwapped(on); });
    swapColorsAction_->setChecked(swapped_);
  });
  auto* currentLeg = new QAction(tr("当前波段价位(&U)"), this);
  ConnectGuarded(reporter_, currentLeg, &QAction::triggered, this, [this] { ShowCurrentLeg(); });
  auto* clear = new QAction(tr("清除选择(&E)"), this);
  connect(clear, &QAction::triggered, this, &TPriceChartWindow::ClearSelection);
  chartMenu_ = new QMenu(this);
  chartMenu_->setObjectName(QStringLiteral("PriceChartMenu"));
  AddMenuItems(chartMenu_, {fit, logScaleAction_, swapColorsAction_, nullptr, currentLeg, clear, nullptr, copy, save});
  chart_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(chart_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { chartMenu_->popup(chart_->mapToGlobal(p)); });

  statsDock_ = new QDockWidget(tr("反应统计"), this);
  statsDock_->setObjectName(QStringLiteral("StatisticsDock"));
  statsDock_->setAccessibleName(tr("反应统计"));
  auto* statsPanel = new QWidget(statsDock_);
  auto* statsLayout = new QVBoxLayout(statsPanel);
  statsTable_ = new QTableWidget(0, 4, statsPanel);
  statsTable_->setObjectName(QStringLiteral("StatisticsTable"));
  statsTable_->setAccessibleName(tr("各比例的反应统计"));
  statsTable_->setHorizontalHeaderLabels({tr("比例"), tr("触及"), tr("触及率%"), tr("延续率%")});
  statsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  statsTable_->verticalHeader()->hide();
  statsTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  histogram_ = new TDepthHistogramWidget(statsPanel);
  histogram_->setObjectName(QStringLiteral("DepthHistogram"));
  histogram_->setAccessibleName(tr("回撤深度分布"));
  statsLayout->addWidget(statsTable_, 1);
  statsLayout->addWidget(histogram_, 1);
  statsDock_->setWidget(statsPanel);
  addDockWidget(Qt::RightDockWidgetArea, statsDock_);
  chartMenu_->addSeparator();
  chartMenu_->addAction(statsDock_->toggleViewAction());

  FindTheSwings(&swinging);
  reporter_.Guard([this] { ShowCurrentLeg(); });
}

void TPriceChartWindow::SetTolerance(int thousandths) {
  if (thousandths == tolerance_) return;
  tolerance_ = thousandths;
  if (thousandths == kDefaultTolerance) RemoveSetting(settingsPath_, kSection, kToleranceKey);
  else StoreSetting(settingsPath_, kSection, kToleranceKey, ToleranceText(thousandths));
  ShowStatistics();
}

void TPriceChartWindow::ShowStatistics() { ShowStatistics(CountStatistics(std::launch::deferred)); }

std::future<ReactionStats> TPriceChartWindow::CountStatistics(std::launch policy) const {
  const ReactionTolerance tolerance(ToleranceText(tolerance_));
  ReactionStats empty = EmptyReactionStats(CurrentRatioList());
  return std::async(policy, [this, tolerance, stats = std::move(empty)]() mutable {
    AddReactions(swings_, tolerance, stats);
    return std::move(stats);
  });
}

void TPriceChartWindow::ShowStatistics(std::future<ReactionStats> counting) {
  stats_ = counting.get();
  const ReactionTolerance tolerance(ToleranceText(tolerance_));
  statsTable_->setRowCount(static_cast<int>(stats_.ratios.size()));
  for (std::size_t i = 0; i < stats_.ratios.size(); ++i) {
    const RatioReaction& r = stats_.ratios[i];
    const QString cells[] = {QString::fromStdString(r.ratio), QString::number(r.hits),
                             QString::fromStdString(ShareText(r.hits, stats_.legs)),
                             QString::fromStdString(ShareText(r.resumed, r.decided))};
    for (int column = 0; column < 4; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      statsTable_->setItem(static_cast<int>(i), column, item);
    }
  }
  statsDock_->setWindowTitle(tr("反应统计（%n 次回撤）", nullptr, static_cast<int>(stats_.legs)));
  // Bins twice the tolerance wide, as the command-line histogram draws them.
  chart::DepthHistogramInput input{stats_.depths, tolerance.Value() > 0 ? 2 * tolerance.Value() : 0.02, {}};
  for (const RatioReaction& r : stats_.ratios) input.ratios.push_back({r.ratio, r.value});
  static_cast<TDepthHistogramWidget*>(histogram_)->SetInput(std::move(input));
}

QAction* TPriceChartWindow::AddCommand(const QString& text, const QKeySequence& key,
                                       void (TPriceChartWindow::*handler)()) {
  auto* action = new QAction(text, this);
  action->setShortcut(key);
  action->setShortcutContext(Qt::WindowShortcut);
  addAction(action);
  ConnectGuarded(reporter_, action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  return action;
}

chart::TColor TPriceChartWindow::RisingColor(TUiLanguage language, bool swapped) {
  return pricechart::CandleColorsFor(language == TUiLanguage::English, swapped).rising;
}

void TPriceChartWindow::ApplyColors() {
  const TUiLanguage language = ShownUiLanguage();
  chart_->SetColors(RisingColor(language, swapped_), FallingColor(language, swapped_));
}

void TPriceChartWindow::SetColorsSwapped(bool swapped) {
  if (swapped == swapped_) return;
  if (swapped) StoreSetting(settingsPath_, kSection, kCandlesKey, kSwappedValue);
  else RemoveSetting(settingsPath_, kSection, kCandlesKey);
  swapped_ = swapped;
  ApplyColors();
}

void TPriceChartWindow::CopyLevels() {
  CopyTextAndHtml(FormatLevelRows(OutputFormat::Text, levels_.rows), LevelRowsHtmlTable(levels_.rows));
}

void TPriceChartWindow::SavePicture() {
  if (lastPicturePath_.empty()) {
    const QString name = QFileInfo(QString::fromStdString(path_)).completeBaseName() + QStringLiteral(".png");
    lastPicturePath_ = SuggestedSavePath(QStandardPaths::PicturesLocation, name);
  }
  const std::optional<std::string> path =
      reporter_.Prompter().AskPicturePath(this, tr("保存图片").toStdString(), lastPicturePath_);
  if (!path) return;
  lastPicturePath_ = *path;
  SaveUserPicture(*path, chart_->Picture());
}

void TPriceChartWindow::ClearSelection() {
  shownLeg_.reset();
  selectedLegs_.clear();
  zones_.clear();
  chart_->SetZones({});
  chart_->SetDrawnWave(std::nullopt);
  levels_ = {};
  chart_->SetLevelLines({});
  chart_->SetSelectedSegments({});
  chart_->setAccessibleDescription({});
}

void TPriceChartWindow::FindTheSwings(std::future<std::vector<SwingPoint>>* found) {
  if (found != nullptr) {
    swings_ = found->get();
  } else {
    const SwingChange change(std::to_string(change_));
    swings_ = FindSwings(data_.bars.high.data(), data_.bars.low.data(), data_.bars.Size(), change);
  }
  // The statistics are counted on a thread of their own while the chart
  // takes the zigzag; both only read the swings.
  std::future<ReactionStats> counting = CountStatistics(Apart(swings_.size() * CurrentRatioList().size()));
  chart_->SetZigzag(pricechart::ChartZigzag(swings_), pricechart::LastPointOpen(swings_));
  ShowStatistics(std::move(counting));
}

void TPriceChartWindow::SetChange(int percent) {
  if (percent == change_) return;
  change_ = percent;
  if (percent == kDefaultChange) RemoveSetting(settingsPath_, kSection, kChangeKey);
  else StoreSetting(settingsPath_, kSection, kChangeKey, std::to_string(percent));
  FindTheSwings();
  ShowCurrentLeg();
}

LevelPresentation TPriceChartWindow::Presentation() const {
  // The main window's tick and scale, so both windows show the same texts.
  LevelPresentation presentation;
  const LevelSettings& settings = mainForm_.Levels();
  if (!settings.tickText.empty()) presentation.tick.emplace(settings.tickText);
  presentation.scale = settings.scale;
  return presentation;
}

std::optional<SwingLeg> TPriceChartWindow::ShowLeg(std::size_t n) {
  const std::optional<SwingLeg> leg = LegOf(swings_, n);
  if (!leg) {
    ClearSelection();
    return std::nullopt;
  }
  ShowLevels(leg->mode, leg->low, leg->high, static_cast<int>(leg->from.bar));
  shownLeg_ = n;
  selectedLegs_ = {n};
  zones_.clear();
  chart_->SetZones({});
  chart_->SetDrawnWave(std::nullopt);
  chart_->SetSelectedSegments({static_cast<int>(swings_.size() - 1 - n)});
  return leg;
}

void TPriceChartWindow::ShowLevels(ComputeMode mode, double lowPrice, double highPrice, int fromBar) {
  const std::string low = PriceBoxText(lowPrice);
  const std::string high = PriceBoxText(highPrice);
  LevelView view =
      ViewLevels(ComputeRequest{mode, low, high, {}, LevelScale::Linear}, CurrentRatioList(), Presentation());
  chart_->SetLevelLines(pricechart::ChartLevelLines(view, fromBar));
  levels_ = std::move(view);
  chart_->setAccessibleDescription(
      QString::fromUtf8(FormatLevelRows(OutputFormat::Text, levels_.rows)));
}

void TPriceChartWindow::ToggleLeg(std::size_t n) {
  const std::optional<SwingLeg> leg = LegOf(swings_, n);
  if (!leg) return;
  const auto at = std::find(selectedLegs_.begin(), selectedLegs_.end(), n);
  if (at != selectedLegs_.end()) {
    selectedLegs_.erase(at);
  } else {
    selectedLegs_.push_back(n);
    // The leg added shows its levels, here and in the main window.
    ShowLevels(leg->mode, leg->low, leg->high, static_cast<int>(leg->from.bar));
    shownLeg_ = n;
    mainForm_.ShowWave(leg->mode, PriceBoxText(leg->low), PriceBoxText(leg->high));
  }
  ShowSelection();
}

void TPriceChartWindow::ShowSelection() {
  std::vector<int> segments;
  std::vector<ConfluenceWave> waves;
  ConfluenceOptions options;
  options.scale = mainForm_.Levels().scale;
  for (std::size_t n : selectedLegs_) {
    const std::optional<SwingLeg> leg = LegOf(swings_, n);
    segments.push_back(static_cast<int>(swings_.size() - 1 - n));
    waves.push_back({leg->low, leg->high, std::nullopt});
    if (std::find(options.modes.begin(), options.modes.end(), leg->mode) == options.modes.end())
      options.modes.push_back(leg->mode);
  }
  chart_->SetSelectedSegments(std::move(segments));
  zones_.clear();
  std::vector<TChartZone> bands;
  if (waves.size() >= 2) {
    zones_ = FindConfluenceZones(waves, CurrentRatioList(), options);
    const LevelPresentation presentation = Presentation();
    const PriceTick* tick = presentation.tick ? &*presentation.tick : nullptr;
    for (const ConfluenceZone& zone : zones_) {
      const std::string low = ShowLevel(zone.low, tick, presentation.rounding).mark;
      const std::string high = ShowLevel(zone.high, tick, presentation.rounding).mark;
      bands.push_back({zone.low, zone.high, static_cast<int>(zone.waves),
                       tr("%1 – %2（%n 个波段）", nullptr, static_cast<int>(zone.waves))
                           .arg(QString::fromStdString(low), QString::fromStdString(high))
                           .toStdString()});
    }
  }
  chart_->SetZones(std::move(bands));
}

void TPriceChartWindow::SelectDrawnWave(int fromBar, double fromPrice, int toBar, double toPrice) {
  if (fromBar > toBar) {
    std::swap(fromBar, toBar);
    std::swap(fromPrice, toPrice);
  }
  // As a leg of the zigzag: after a rise the pullback's support, after a fall the rebound's resistance.
  const bool up = toPrice > fromPrice;
  const ComputeMode mode = up ? ComputeMode::Support : ComputeMode::Resistance;
  const double low = std::min(fromPrice, toPrice), high = std::max(fromPrice, toPrice);
  ShowLevels(mode, low, high, fromBar);
  shownLeg_.reset();
  selectedLegs_.clear();
  zones_.clear();
  chart_->SetZones({});
  chart_->SetSelectedSegments({});
  chart_->SetDrawnWave(TChartWave{fromBar, fromPrice, toBar, toPrice});
  mainForm_.ShowWave(mode, PriceBoxText(low), PriceBoxText(high));
}

void TPriceChartWindow::ShowCurrentLeg() { ShowLeg(1); }

void TPriceChartWindow::SelectLeg(std::size_t n) {
  const std::optional<SwingLeg> leg = ShowLeg(n);
  if (!leg) return;
  mainForm_.ShowWave(leg->mode, PriceBoxText(leg->low), PriceBoxText(leg->high));
}

std::string TPriceChartWindow::PriceText(double price) const {
  // As a level would be shown: on the tick when one is set.
  const LevelPresentation presentation = Presentation();
  try {
    return ShowLevel(price, presentation.tick ? &*presentation.tick : nullptr, presentation.rounding).mark;
  } catch (const std::exception&) {
    // A pointer far outside the tick's range: the plain number, the status line is no place for a box.
    return ShowLevel(price, nullptr, presentation.rounding).mark;
  }
}

void TPriceChartWindow::ShowCrosshair(int bar, double price) {
  const PriceBars& b = data_.bars;
  if (bar < 0 || static_cast<std::size_t>(bar) >= b.Size()) return;
  const auto i = static_cast<std::size_t>(bar);
  crosshairLabel_->setText(tr("%1  开 %2  高 %3  低 %4  收 %5  量 %6  价 %7")
                               .arg(QString::fromStdString(TimeText(b.time[i], data_.timeForm)),
                                    QString::fromStdString(ShortestText(b.open[i])),
                                    QString::fromStdString(ShortestText(b.high[i])),
                                    QString::fromStdString(ShortestText(b.low[i])),
                                    QString::fromStdString(ShortestText(b.close[i])),
                                    QString::fromStdString(ShortestText(b.volume[i])),
                                    QString::fromStdString(PriceText(price))));
}

}  // namespace tavimo::app
