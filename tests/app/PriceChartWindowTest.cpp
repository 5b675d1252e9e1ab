// The price chart window: the chart zooms around the pointer and picks the
// leg a click is near, a file that cannot be read opens nothing, skipped rows
// are told in the status line, a click on a leg computes it in the main
// window, and the change is stored only when it is not the default.

#include <sys/stat.h>

#include <QClipboard>
#include <QDate>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QDropEvent>
#include <filesystem>
#include <QTranslator>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QDoubleSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QDockWidget>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "AppTestSupport.h"
#include "app/MainForm.h"
#include "app/PriceChartWidget.h"
#include "app/PriceChartWindow.h"
#include "app/TavimoApplication.h"
#include "app/Language.h"
#include "calc/LevelText.h"
#include "calc/RatioList.h"
#include "chart/Palette.h"
#include "history/PriceFile.h"
#include "history/Reactions.h"
#include "history/Swings.h"

namespace tavimo::app::test {
namespace {

// A daily file whose closes follow `closes`, each bar a point above and below its open and close.
std::string PriceFileText(const std::vector<double>& closes) {
  std::string text = "Date,Open,High,Low,Close,Volume\n";
  double open = closes.front();
  for (std::size_t i = 0; i < closes.size(); ++i) {
    const double close = closes[i];
    char line[160];
    std::snprintf(line, sizeof line, "2024-%02d-%02d,%g,%g,%g,%g,%d\n", static_cast<int>(1 + i / 28),
                  static_cast<int>(1 + i % 28), open, std::max(open, close) + 1, std::min(open, close) - 1, close,
                  1000 + static_cast<int>(i));
    text += line;
    open = close;
  }
  return text;
}

// Up from 200 to 300, down to 250, up again to 280, each bar narrower than
// the 5% change: the low at 199, the high at 301 and the low at 249
// confirmed, then the open leg to 281.
std::vector<double> ThreeLegs() {
  std::vector<double> closes;
  for (int i = 0; i <= 20; ++i) closes.push_back(200 + 5 * i);
  for (int i = 1; i <= 10; ++i) closes.push_back(300 - 5 * i);
  for (int i = 1; i <= 6; ++i) closes.push_back(250 + 5 * i);
  return closes;
}

class PriceChartWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CreateTheWindows();
    Form().show();
    Prompter().Reset();
  }
  void TearDown() override {
    delete window_;
    WindowTest::TearDown();
  }
  TPriceChartWindow* Open(const std::string& text, const char* name = "prices.csv") {
    const auto path = temp_.Path() / name;
    WriteFile(path, text);
    window_ = TPriceChartWindow::Open(Application().Reporter(), Form(), SettingsPath().string(), path.string());
    if (window_) {
      window_->resize(900, 560);
      window_->show();
      ProcessEvents();
    }
    return window_;
  }
  // The pixel of the chart's picture at a logical point.
  static QRgb PixelAt(const QImage& image, double x, double y) {
    const double r = image.devicePixelRatio();
    return image.pixel(static_cast<int>(std::lround(x * r)), static_cast<int>(std::lround(y * r)));
  }
  TPriceChartWindow* window_ = nullptr;
};

TEST_F(PriceChartWindowTest, WheelZoomKeepsTheBarUnderThePointer) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  TPriceChartWidget& chart = *window_->Chart();
  const chart::Rect plot = chart.Plot();
  const double x = plot.left + 0.3 * plot.Width();
  const double y = (plot.top + plot.bottom) / 2.0;
  const double before = chart.View().XToBar(x, plot);
  const double spanBefore = chart.View().TimeMax() - chart.View().TimeMin();
  QWheelEvent wheel(QPointF(x, y), chart.mapToGlobal(QPointF(x, y)), QPoint(), QPoint(0, 240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&chart, &wheel);
  const double spanAfter = chart.View().TimeMax() - chart.View().TimeMin();
  EXPECT_LT(spanAfter, spanBefore * 0.8);
  EXPECT_NEAR(chart.View().XToBar(x, chart.Plot()), before, 1e-6);
  // Ctrl+wheel zooms the prices and leaves the time range alone.
  const double priceSpan = chart.View().PriceMax() - chart.View().PriceMin();
  QWheelEvent ctrlWheel(QPointF(x, y), chart.mapToGlobal(QPointF(x, y)), QPoint(), QPoint(0, 120), Qt::NoButton,
                        Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&chart, &ctrlWheel);
  EXPECT_NEAR(chart.View().TimeMax() - chart.View().TimeMin(), spanAfter, 1e-9);
  EXPECT_LT(chart.View().PriceMax() - chart.View().PriceMin(), priceSpan * 0.9);
  // Home fits every bar again.
  QTest::keyClick(&chart, Qt::Key_Home);
  EXPECT_NEAR(chart.View().TimeMax() - chart.View().TimeMin(), spanBefore, 1e-9);
}

TEST_F(PriceChartWindowTest, LevelLinesAreDrawnInTheirRatiosPaletteColours) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  TPriceChartWidget& chart = *window_->Chart();
  // Lines only, at prices inside the view, from the first bar.
  chart.SetZigzag({}, false);
  const double low = chart.View().PriceMin(), high = chart.View().PriceMax();
  chart.SetLevelLines({{10, low + 0.25 * (high - low), 0, "a"}, {10, low + 0.6 * (high - low), 3, "b"},
                       {10, low + 0.8 * (high - low), 4, "c"}});
  const QImage picture = chart.Picture();
  const chart::Rect plot = chart.Plot();
  for (const auto& [share, index] : {std::pair{0.25, 0}, std::pair{0.6, 3}}) {
    const double y = std::round(chart.View().PriceToY(low + share * (high - low), plot));
    const chart::TColor c = chart::PaletteColor(index);
    const QRgb expected = qRgb(chart::RedOf(c), chart::GreenOf(c), chart::BlueOf(c)) & 0xFFFFFF;
    // Between two candles, after the line's first bar and before it.
    EXPECT_EQ(PixelAt(picture, chart.View().BarToX(12.5, plot), y) & 0xFFFFFF, expected) << "ratio index " << index;
    EXPECT_NE(PixelAt(picture, chart.View().BarToX(7.5, plot), y) & 0xFFFFFF, expected) << "ratio index " << index;
  }
  // The palette's white (ratio 1 of the default list) shows on the white background by its grey edge.
  const double white = std::round(chart.View().PriceToY(low + 0.8 * (high - low), plot));
  EXPECT_EQ(PixelAt(picture, chart.View().BarToX(12.5, plot), white - 1) & 0xFFFFFF, 0x808080u);
  EXPECT_NE(PixelAt(picture, chart.View().BarToX(7.5, plot), white - 1) & 0xFFFFFF, 0x808080u);
}

TEST_F(PriceChartWindowTest, AFileThatCannotBeReadShowsTheReadersMessageAndOpensNothing) {
  EXPECT_EQ(Open("Date,Close\n", "empty.csv"), nullptr);
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_NE(Prompter().messages[0].text.find("No price bars"), std::string::npos);
  EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::Error);
}

TEST_F(PriceChartWindowTest, SkippedRowsAreToldInTheStatusLineWithoutABox) {
  std::string text = PriceFileText(ThreeLegs());
  text += "2024-03-01,1,2,x,1,5\n2024-03-02,oops\n";
  ASSERT_NE(Open(text), nullptr);
  EXPECT_TRUE(Prompter().messages.empty());
  const QString status = window_->SkippedLabel()->text();
  EXPECT_TRUE(status.startsWith(QStringLiteral("2"))) << status.toStdString();
  EXPECT_TRUE(status.contains(QStringLiteral("line 39"))) << status.toStdString();
  EXPECT_TRUE(status.contains(QStringLiteral("line 40"))) << status.toStdString();
}

TEST_F(PriceChartWindowTest, TheCurrentLegsLevelsAreShownOnOpening) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  ASSERT_EQ(window_->ShownLeg(), std::optional<std::size_t>(1));
  // The open leg rises from the low of 249 to the high of 281: support levels below its high.
  const std::vector<LevelRow>& rows = window_->LevelRows();
  ASSERT_FALSE(rows.empty());
  const auto half = std::find_if(rows.begin(), rows.end(), [](const LevelRow& row) { return row.ratio == "0.5"; });
  ASSERT_NE(half, rows.end());
  EXPECT_DOUBLE_EQ(half->level, 265);
  EXPECT_FALSE(window_->Chart()->accessibleDescription().isEmpty());
}

TEST_F(PriceChartWindowTest, AClickOnALegFillsTheMainWindowsBoxesAndComputes) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  TPriceChartWidget& chart = *window_->Chart();
  const std::vector<SwingPoint>& swings = window_->Swings();
  ASSERT_GE(swings.size(), 3u);
  // The middle of the leg from the high at 301 down to 249: leg 2, counted back from the open one.
  const SwingPoint& a = swings[swings.size() - 3];
  const SwingPoint& b = swings[swings.size() - 2];
  const chart::Rect plot = chart.Plot();
  const QPoint middle(static_cast<int>(std::lround((chart.View().BarToX(a.bar, plot) + chart.View().BarToX(b.bar, plot)) / 2)),
                      static_cast<int>(std::lround((chart.View().PriceToY(a.price, plot) + chart.View().PriceToY(b.price, plot)) / 2)));
  QSignalSpy clicked(&chart, &TPriceChartWidget::SegmentClicked);
  QTest::mouseClick(&chart, Qt::LeftButton, Qt::NoModifier, middle);
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(window_->ShownLeg(), std::optional<std::size_t>(2));
  EXPECT_EQ(Form().Edit1()->text(), QStringLiteral("249"));
  EXPECT_EQ(Form().Edit2()->text(), QStringLiteral("301"));
  // A down leg is computed as resistance, in both windows the same rows.
  const std::vector<LevelRow> mainRows = Form().LevelRows();
  ASSERT_EQ(mainRows.size(), window_->LevelRows().size());
  for (std::size_t i = 0; i < mainRows.size(); ++i) {
    EXPECT_EQ(mainRows[i].mark, window_->LevelRows()[i].mark);
    EXPECT_EQ(mainRows[i].level, window_->LevelRows()[i].level);
  }
  // Far from every leg a click selects nothing.
  QSignalSpy empty(&chart, &TPriceChartWidget::EmptyClicked);
  QTest::mouseClick(&chart, Qt::LeftButton, Qt::NoModifier, QPoint(plot.left + 3, plot.top + 3));
  EXPECT_EQ(empty.count(), 1);
  EXPECT_EQ(window_->ShownLeg(), std::optional<std::size_t>(2));
}

TEST_F(PriceChartWindowTest, TheChangeIsStoredOnlyWhenNotTheDefault) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  EXPECT_EQ(window_->ChangeBox()->value(), 5);
  window_->ChangeBox()->setValue(30);
  EXPECT_NE(ReadFile(SettingsPath()).find("change=30"), std::string::npos);
  // 30% turns none of these moves: no confirmed pivot, no leg of two points.
  EXPECT_LT(window_->Swings().size(), 3u);
  window_->ChangeBox()->setValue(5);
  EXPECT_EQ(ReadFile(SettingsPath()).find("change="), std::string::npos);
  // Read again by the next window.
  window_->ChangeBox()->setValue(7);
  delete window_;
  window_ = nullptr;
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  EXPECT_EQ(window_->ChangeBox()->value(), 7);
}

TEST_F(PriceChartWindowTest, TheStatisticsToleranceCountsTheHitsAndIsStoredOnlyWhenNotTheDefault) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  EXPECT_DOUBLE_EQ(window_->ToleranceBox()->value(), 0.03);
  ASSERT_GT(window_->Statistics().legs, 0u);
  const auto hits = [&] {
    std::uint64_t sum = 0;
    for (const RatioReaction& r : window_->Statistics().ratios) sum += r.hits;
    return sum;
  };
  window_->ToleranceBox()->setValue(1);
  EXPECT_NE(ReadFile(SettingsPath()).find("tolerance=1.000"), std::string::npos);
  // Within 1 of a depth there is always a ratio of the default list.
  EXPECT_GE(hits(), window_->Statistics().legs);
  window_->ToleranceBox()->setValue(0.03);
  EXPECT_EQ(ReadFile(SettingsPath()).find("tolerance="), std::string::npos);
  window_->ToleranceBox()->setValue(0.125);
  delete window_;
  window_ = nullptr;
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  EXPECT_DOUBLE_EQ(window_->ToleranceBox()->value(), 0.125);
  EXPECT_EQ(window_->Tolerance(), 125);
}

// A large file has its swings found and its statistics counted on threads of
// their own while the window is built: they must be those of the bars read.
TEST_F(PriceChartWindowTest, ALargeFilesSwingsAndStatisticsAreThoseOfItsBars) {
  std::string text = "Time,Open,High,Low,Close\n";
  double close = 200;
  for (int i = 0; i < 60000; ++i) {
    const double open = close;
    close = std::max(20.0, close + ((i * 7919) % 41 - 20) * 0.37);
    char line[160];
    std::snprintf(line, sizeof line, "%lld,%.2f,%.2f,%.2f,%.2f\n", 1000000000LL + 3600LL * i, open,
                  std::max(open, close) + 0.5, std::min(open, close) - 0.5, close);
    text += line;
  }
  ASSERT_NE(Open(text), nullptr);
  const PriceFileRead read = ReadPriceFile((temp_.Path() / "prices.csv").string());
  const PriceBars& bars = read.result.bars;
  ASSERT_EQ(bars.Size(), 60000u);
  const std::vector<SwingPoint> swings = FindSwings(bars.high.data(), bars.low.data(), bars.Size(), SwingChange());
  ASSERT_GT(swings.size(), 1000u);
  ASSERT_EQ(window_->Swings().size(), swings.size());
  EXPECT_EQ(window_->Swings().back().bar, swings.back().bar);
  ReactionStats stats = EmptyReactionStats(CurrentRatioList());
  AddReactions(swings, ReactionTolerance(), stats);
  EXPECT_EQ(window_->Statistics().legs, stats.legs);
  for (std::size_t i = 0; i < stats.ratios.size(); ++i) EXPECT_EQ(window_->Statistics().ratios[i].hits, stats.ratios[i].hits);
}

TEST_F(PriceChartWindowTest, CandleColoursFollowTheLanguagesMarketConvention) {
  struct Case {
    TUiLanguage language;
    bool swapped;
    chart::TColor rising, falling;
  };
  const chart::TColor red = TPriceChartWindow::RisingColor(TUiLanguage::Chinese, false);
  const chart::TColor green = TPriceChartWindow::FallingColor(TUiLanguage::Chinese, false);
  EXPECT_GT(chart::RedOf(red), 2 * chart::GreenOf(red));
  EXPECT_GT(chart::GreenOf(green), 2 * chart::RedOf(green));
  for (const Case& c : {Case{TUiLanguage::Chinese, false, red, green}, Case{TUiLanguage::English, false, green, red},
                        Case{TUiLanguage::Chinese, true, green, red}, Case{TUiLanguage::English, true, red, green}}) {
    EXPECT_EQ(TPriceChartWindow::RisingColor(c.language, c.swapped), c.rising);
    EXPECT_EQ(TPriceChartWindow::FallingColor(c.language, c.swapped), c.falling);
  }
  // The window shown in English takes the English convention.
  QTranslator english;
  ASSERT_TRUE(english.load(QStringLiteral(":/tavimo/i18n/tavimo_en.qm")));
  QCoreApplication::installTranslator(&english);
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  QCoreApplication::removeTranslator(&english);
  EXPECT_EQ(window_->Chart()->Series().RisingColor(), green);
  EXPECT_EQ(window_->Chart()->Series().FallingColor(), red);
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Price chart - prices.csv"));
}

TEST_F(PriceChartWindowTest, SwappedCandleColoursAreStoredOnlyWhenNotTheDefault) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  const chart::TColor rising = window_->Chart()->Series().RisingColor();
  window_->SwapColorsAction()->trigger();
  EXPECT_EQ(window_->Chart()->Series().FallingColor(), rising);
  EXPECT_NE(ReadFile(SettingsPath()).find("candles=swapped"), std::string::npos);
  delete window_;
  window_ = nullptr;
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  EXPECT_TRUE(window_->ColorsSwapped());
  window_->SwapColorsAction()->trigger();
  EXPECT_EQ(window_->Chart()->Series().RisingColor(), rising);
  EXPECT_EQ(ReadFile(SettingsPath()).find("candles="), std::string::npos);
}

TEST_F(PriceChartWindowTest, CopyPutsTheShownLevelsOnTheClipboardAsTheMainWindowDoes) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  window_->CopyLevels();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text().toStdString(), FormatLevelRows(OutputFormat::Text, window_->LevelRows()));
  EXPECT_EQ(data->html().toStdString(), LevelRowsHtmlTable(window_->LevelRows()));
  EXPECT_NE(data->text().indexOf(QStringLiteral("265")), -1);
}

TEST_F(PriceChartWindowTest, SaveWritesTheChartAsAPng) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  const auto path = temp_.Path() / "chart.png";
  Prompter().Answer(path.string());
  window_->SavePicture();
  QImage saved;
  ASSERT_TRUE(saved.load(QString::fromStdString(path.string())));
  const QImage shown = window_->Chart()->Picture();
  EXPECT_EQ(saved.size(), shown.size());
}

TEST_F(PriceChartWindowTest, SeveralYearsOfDailyBarsShowRisingAndFallingCandles) {
  // A deterministic walk of three years of weekdays, as a download would give them.
  std::string text = "Date,Open,High,Low,Close,Adj Close,Volume\n";
  std::uint32_t seed = 12345;
  double close = 50;
  QDate day(2021, 1, 4);
  for (int i = 0; i < 780; day = day.addDays(1)) {
    if (day.dayOfWeek() > 5) continue;
    seed = seed * 1664525u + 1013904223u;
    const double open = close;
    close = std::max(5.0, open * (1 + (static_cast<int>((seed >> 8) % 1000) - 497) / 25000.0));
    const double high = std::max(open, close) * 1.006, low = std::min(open, close) * 0.994;
    char line[200];
    std::snprintf(line, sizeof line, "%s,%.2f,%.2f,%.2f,%.2f,%.2f,%d\n", day.toString(Qt::ISODate).toUtf8().constData(),
                  open, high, low, close, close, 100000 + i);
    text += line;
    ++i;
  }
  ASSERT_NE(Open(text, "walk.csv"), nullptr);
  EXPECT_GE(window_->Swings().size(), 4u);
  const QImage picture = window_->Chart()->Picture();
  const chart::TColor rising = window_->Chart()->Series().RisingColor();
  const chart::TColor falling = window_->Chart()->Series().FallingColor();
  int risingPixels = 0, fallingPixels = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb p = picture.pixel(x, y);
      const chart::TColor c = chart::RGBColor(qRed(p), qGreen(p), qBlue(p));
      risingPixels += c == rising;
      fallingPixels += c == falling;
    }
  EXPECT_GT(risingPixels, 1000);
  EXPECT_GT(fallingPixels, 1000);
  // For a person to look at: the whole window, with the two last legs' zones.
  window_->ToggleLeg(2);
  EXPECT_FALSE(window_->Zones().empty());
  const char* dir = std::getenv("TAVIMO_PICTURE_DIR");
  if (dir == nullptr || *dir == '\0') return;
  window_->grab().save(QString::fromUtf8(dir) + QStringLiteral("/price-window.png"));
  delete window_;
  QTranslator english;
  ASSERT_TRUE(english.load(QStringLiteral(":/tavimo/i18n/tavimo_en.qm")));
  QCoreApplication::installTranslator(&english);
  window_ = TPriceChartWindow::Open(Application().Reporter(), Form(), SettingsPath().string(),
                                    (temp_.Path() / "walk.csv").string());
  ASSERT_NE(window_, nullptr);
  window_->resize(1100, 600);
  window_->show();
  ProcessEvents();
  window_->grab().save(QString::fromUtf8(dir) + QStringLiteral("/price-window-en.png"));
  QCoreApplication::removeTranslator(&english);
}

TEST_F(PriceChartWindowTest, OpeningAFileAgainRaisesItsWindowAndTheRecentFilesKeepTheLastFive) {
  EXPECT_TRUE(Form().RecentPriceFiles().empty());
  // Nothing is written before a file was opened, nor for one that cannot be read.
  WriteFile(temp_.Path() / "bad.csv", "nothing here\n");
  EXPECT_EQ(Form().OpenPriceFile((temp_.Path() / "bad.csv").string()), nullptr);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  std::vector<std::string> paths;
  for (int i = 0; i < 6; ++i) {
    paths.push_back((temp_.Path() / ("f" + std::to_string(i) + ".csv")).string());
    WriteFile(paths.back(), PriceFileText(ThreeLegs()));
    ASSERT_NE(Form().OpenPriceFile(paths.back()), nullptr);
  }
  EXPECT_EQ(Form().PriceWindows().size(), 6u);
  EXPECT_EQ(Form().RecentPriceFiles(), (std::vector<std::string>{paths[5], paths[4], paths[3], paths[2], paths[1]}));
  // The same file by another name of its path: the window it has, first again in the list.
  TPriceChartWindow* first = Form().PriceWindows()[2];
  EXPECT_EQ(Form().OpenPriceFile((temp_.Path() / "." / "f2.csv").string()), first);
  EXPECT_EQ(Form().PriceWindows().size(), 6u);
  EXPECT_EQ(Form().RecentPriceFiles().front(), paths[2]);
  EXPECT_EQ(Form().RecentPriceFiles().size(), 5u);
  // The recent files' submenu opens them.
  QMenu* recent = Form().ChartMenu()->findChild<QMenu*>(QStringLiteral("RecentMenu"));
  ASSERT_NE(recent, nullptr);
  emit recent->aboutToShow();
  ASSERT_EQ(recent->actions().size(), 5);
  EXPECT_EQ(recent->actions()[1]->toolTip().toStdString(), paths[5]);
  for (TPriceChartWindow* w : Form().PriceWindows()) delete w;
  recent->actions()[1]->trigger();
  ASSERT_EQ(Form().PriceWindows().size(), 1u);
  EXPECT_EQ(Form().PriceWindows()[0]->Path(), paths[5]);
  delete Form().PriceWindows()[0];
}

TEST_F(PriceChartWindowTest, TheOpenCommandAsksForAFileAndDroppedFilesOpen) {
  const std::string path = (temp_.Path() / "asked.csv").string();
  WriteFile(path, PriceFileText(ThreeLegs()));
  Prompter().Answer(path);
  Form().OpenPriceAction()->trigger();
  ASSERT_EQ(Form().PriceWindows().size(), 1u);
  EXPECT_EQ(Form().PriceWindows()[0]->Path(), path);
  EXPECT_EQ(Form().OpenPriceAction()->shortcut(), QKeySequence(QKeySequence::Open));
  // Cancel opens nothing.
  Prompter().Answer(std::nullopt);
  Form().OpenPriceAction()->trigger();
  EXPECT_EQ(Form().PriceWindows().size(), 1u);
  // A drop of two files: the one open is raised, the other opened.
  const std::string other = (temp_.Path() / "dropped.csv").string();
  WriteFile(other, PriceFileText(ThreeLegs()));
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path)), QUrl::fromLocalFile(QString::fromStdString(other))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Form(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Form(), &drop);
  ASSERT_EQ(Form().PriceWindows().size(), 2u);
  EXPECT_EQ(Form().PriceWindows()[1]->Path(), other);
  for (TPriceChartWindow* w : Form().PriceWindows()) delete w;
}

TEST_F(PriceChartWindowTest, EveryFileOfTheCommandLineOpensAndABadOneIsReported) {
  const std::string good = (temp_.Path() / "good.csv").string();
  WriteFile(good, PriceFileText(ThreeLegs()));
  const std::string missing = (temp_.Path() / "missing.csv").string();
  OpenArgumentFiles(Application(), Form(),
                    {QStringLiteral("tavimo"), QString::fromStdString(missing), QString::fromStdString(good)});
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_NE(Prompter().messages[0].text.find("missing.csv"), std::string::npos);
  ASSERT_EQ(Form().PriceWindows().size(), 1u);
  EXPECT_EQ(Form().PriceWindows()[0]->Path(), good);
  EXPECT_TRUE(Form().PriceWindows()[0]->isVisible());
  delete Form().PriceWindows()[0];
}

TEST_F(PriceChartWindowTest, FilesOfTheCommandLineAreReadBeforeTheWindowsAndOnlyRegularFiles) {
  const std::string good = (temp_.Path() / "early.csv").string();
  WriteFile(good, PriceFileText(ThreeLegs()));
  const std::string fifo = (temp_.Path() / "pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string words[] = {"tavimo", "-platform", "offscreen", fifo, good, (temp_.Path() / "none.csv").string()};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  TPriceFileReads reads = PrefetchPriceFiles(static_cast<int>(argv.size()), argv.data());
  ASSERT_EQ(reads.size(), 1u) << "the option, the pipe and the missing file are not read";
  ASSERT_EQ(reads.count(good), 1u);
  // Opened from what was read: the file may be gone by then.
  reads.at(good).wait();
  std::filesystem::remove(good);
  OpenArgumentFiles(Application(), Form(), {QStringLiteral("tavimo"), QString::fromStdString(good)}, &reads);
  EXPECT_TRUE(Prompter().messages.empty());
  ASSERT_EQ(Form().PriceWindows().size(), 1u);
  EXPECT_GT(Form().PriceWindows()[0]->Data().bars.Size(), 0u);
  delete Form().PriceWindows()[0];
}

// The point of the chart at a bar and price, in logical pixels.
QPoint PointOf(TPriceChartWidget& chart, double bar, double price) {
  const chart::Rect plot = chart.Plot();
  return {static_cast<int>(std::lround(chart.View().BarToX(bar, plot))),
          static_cast<int>(std::lround(chart.View().PriceToY(price, plot)))};
}

TEST_F(PriceChartWindowTest, ShiftClickAddsALegAndShowsTheZonesOfTheSelectedLegs) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  TPriceChartWidget& chart = *window_->Chart();
  const std::vector<SwingPoint>& swings = window_->Swings();
  const SwingPoint& a = swings[swings.size() - 3];
  const SwingPoint& b = swings[swings.size() - 2];
  const QPoint middle = (PointOf(chart, a.bar, a.price) + PointOf(chart, b.bar, b.price)) / 2;
  EXPECT_TRUE(window_->Zones().empty());
  QTest::mouseClick(&chart, Qt::LeftButton, Qt::ShiftModifier, middle);
  EXPECT_EQ(window_->SelectedLegs(), (std::vector<std::size_t>{1, 2}));
  // The support of 249..281 and the resistance of 249..301 meet: zones of both legs only.
  ASSERT_FALSE(window_->Zones().empty());
  for (const ConfluenceZone& zone : window_->Zones()) EXPECT_EQ(zone.waves, 2u);
  EXPECT_EQ(Form().Edit2()->text(), QStringLiteral("301"));
  // The strongest zone is a band over the plot: its colour is not the background's.
  const ConfluenceZone& zone = window_->Zones().front();
  const QImage picture = chart.Picture();
  const chart::Rect plot = chart.Plot();
  const double y = chart.View().PriceToY((zone.low + zone.high) / 2, plot);
  const QRgb band = PixelAt(picture, plot.left + 1, y);
  EXPECT_NE(band & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_GT(qRed(band), qBlue(band));
  // A second Shift+click takes the leg out again: one leg, no zones.
  QTest::mouseClick(&chart, Qt::LeftButton, Qt::ShiftModifier, middle);
  EXPECT_EQ(window_->SelectedLegs(), (std::vector<std::size_t>{1}));
  EXPECT_TRUE(window_->Zones().empty());
}

TEST_F(PriceChartWindowTest, ACtrlDragDrawsAWaveWhoseEndsSnapToTheBarsHighAndLow) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  TPriceChartWidget& chart = *window_->Chart();
  const PriceBars& bars = window_->Data().bars;
  // Near bar 20's high and bar 30's low, a few pixels off both.
  const QPoint from = PointOf(chart, 20.2, bars.high[20]) + QPoint(0, -4);
  const QPoint to = PointOf(chart, 29.8, bars.low[30]) + QPoint(0, 5);
  QSignalSpy drawn(&chart, &TPriceChartWidget::WaveDrawn);
  QTest::mousePress(&chart, Qt::LeftButton, Qt::ControlModifier, from);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), chart.mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                   Qt::ControlModifier);
  QApplication::sendEvent(&chart, &move);
  QTest::mouseRelease(&chart, Qt::LeftButton, Qt::ControlModifier, to);
  ASSERT_EQ(drawn.count(), 1);
  const auto wave = drawn[0][0].value<TChartWave>();
  EXPECT_EQ(wave.fromBar, 20);
  EXPECT_EQ(wave.fromPrice, bars.high[20]);
  EXPECT_EQ(wave.toBar, 30);
  EXPECT_EQ(wave.toPrice, bars.low[30]);
  // The drag drew, it did not pan; a fall is computed as the rebound's resistance.
  EXPECT_EQ(Form().Edit1()->text(), QStringLiteral("249"));
  EXPECT_EQ(Form().Edit2()->text(), QStringLiteral("301"));
  EXPECT_FALSE(window_->ShownLeg().has_value());
  const auto half = std::find_if(window_->LevelRows().begin(), window_->LevelRows().end(),
                                 [](const LevelRow& row) { return row.ratio == "0.5"; });
  ASSERT_NE(half, window_->LevelRows().end());
  EXPECT_DOUBLE_EQ(half->level, 275);
}

TEST_F(PriceChartWindowTest, TheStatisticsDockShowsTheReactionsOfThisFilesZigzag) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  // One retracement: from 301 back to 249 of the rise from 199, a depth of 52/102.
  ASSERT_EQ(window_->Statistics().legs, 1u);
  QTableWidget* table = window_->StatisticsTable();
  ASSERT_EQ(table->rowCount(), static_cast<int>(CurrentRatioList().size()));
  const auto row = [&](const char* ratio) {
    for (int r = 0; r < table->rowCount(); ++r)
      if (table->item(r, 0)->text() == QString::fromUtf8(ratio)) return r;
    return -1;
  };
  ASSERT_GE(row("0.5"), 0);
  EXPECT_EQ(table->item(row("0.5"), 1)->text(), QStringLiteral("1"));
  EXPECT_EQ(table->item(row("0.5"), 2)->text(), QStringLiteral("100.0"));
  // The open leg has not gone beyond 301: nothing decided yet.
  EXPECT_EQ(table->item(row("0.5"), 3)->text(), QStringLiteral("-"));
  EXPECT_EQ(table->item(row("0.618"), 1)->text(), QStringLiteral("0"));
  // A change that turns none of the moves leaves nothing to measure.
  window_->ChangeBox()->setValue(30);
  EXPECT_EQ(window_->Statistics().legs, 0u);
  EXPECT_EQ(table->item(row("0.5"), 1)->text(), QStringLiteral("0"));
  // The dock can be closed and brought back from the chart's menu.
  window_->StatisticsDock()->close();
  EXPECT_FALSE(window_->StatisticsDock()->isVisible());
  window_->StatisticsDock()->toggleViewAction()->trigger();
  EXPECT_TRUE(window_->StatisticsDock()->isVisible());
}

TEST_F(PriceChartWindowTest, TheStatusLineTellsTheBarAndPriceUnderTheCrosshair) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  TPriceChartWidget& chart = *window_->Chart();
  // Bar 3 of the file: 2024-01-04, open 210, close 215.
  const QPointF at(PointOf(chart, 3.1, 212.5));
  QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&chart, &move);
  const QString status = window_->CrosshairLabel()->text();
  for (const char* part : {"2024-01-04", "210", "216", "209", "215", "1003"})
    EXPECT_TRUE(status.contains(QString::fromUtf8(part))) << part << " in " << status.toStdString();
  // The price under the pointer, not the bar's.
  EXPECT_TRUE(status.contains(QStringLiteral("212."))) << status.toStdString();
}

TEST_F(PriceChartWindowTest, KeysPanAndZoomTheTimeAxis) {
  ASSERT_NE(Open(PriceFileText(ThreeLegs())), nullptr);
  TPriceChartWidget& chart = *window_->Chart();
  const double span = chart.View().TimeMax() - chart.View().TimeMin();
  QTest::keyClick(&chart, Qt::Key_Plus);
  const double zoomed = chart.View().TimeMax() - chart.View().TimeMin();
  EXPECT_NEAR(zoomed, span / 1.25, 1e-9);
  const double left = chart.View().TimeMin();
  QTest::keyClick(&chart, Qt::Key_Left);
  EXPECT_LT(chart.View().TimeMin(), left);
  QTest::keyClick(&chart, Qt::Key_Right);
  QTest::keyClick(&chart, Qt::Key_Right);
  EXPECT_GT(chart.View().TimeMin(), left);
  QTest::keyClick(&chart, Qt::Key_Minus);
  EXPECT_NEAR(chart.View().TimeMax() - chart.View().TimeMin(), span, 1e-9);
  // A double click fits all bars.
  QTest::keyClick(&chart, Qt::Key_Plus);
  QTest::mouseDClick(&chart, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_NEAR(chart.View().TimeMax() - chart.View().TimeMin(), span, 1e-9);
}

TEST_F(PriceChartWindowTest, TheEnglishWindowHoldsNoChineseTextAndEveryControlIsNamed) {
  QTranslator english;
  ASSERT_TRUE(english.load(QStringLiteral(":/tavimo/i18n/tavimo_en.qm")));
  QCoreApplication::installTranslator(&english);
  std::string text = PriceFileText(ThreeLegs());
  text += "2024-03-01,oops\n";
  ASSERT_NE(Open(text), nullptr);
  window_->ToggleLeg(2);
  QMouseEvent move(QEvent::MouseMove, QPointF(100, 100), window_->Chart()->mapToGlobal(QPointF(100, 100)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(window_->Chart(), &move);
  EXPECT_FALSE(window_->CrosshairLabel()->text().isEmpty());
  const auto chinese = [](const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
  };
  EXPECT_FALSE(chinese(window_->windowTitle()));
  for (QLabel* label : window_->findChildren<QLabel*>())
    EXPECT_FALSE(chinese(label->text())) << label->text().toStdString();
  for (QAction* action : window_->ChartMenu()->actions())
    EXPECT_FALSE(chinese(action->text())) << action->text().toStdString();
  for (QDockWidget* dock : window_->findChildren<QDockWidget*>()) EXPECT_FALSE(chinese(dock->windowTitle()));
  QTableWidget* table = window_->StatisticsTable();
  for (int column = 0; column < table->columnCount(); ++column)
    EXPECT_FALSE(chinese(table->horizontalHeaderItem(column)->text()));
  EXPECT_TRUE(window_->SkippedLabel()->text().startsWith(QStringLiteral("1 row skipped: line 39"))) 
      << window_->SkippedLabel()->text().toStdString();
  QCoreApplication::removeTranslator(&english);
  // Every control a user can reach has a name for assistive technology.
  for (QWidget* w : window_->findChildren<QWidget*>()) {
    if (w->focusPolicy() != Qt::NoFocus && w->isVisible() && !w->parentWidget()->inherits("QAbstractSpinBox") &&
        !w->inherits("QAbstractButton") && !w->inherits("QScrollBar") && w->parentWidget() != table &&
        w->objectName() != QStringLiteral("qt_scrollarea_viewport")) {
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace tavimo::app::test
