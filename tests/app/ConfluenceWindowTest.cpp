// The confluence window: the zones follow the waves as they are typed, rows
// that cannot be read are skipped without a box, and the zones are copied
// and exported as the calculator formats them.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "app/ConfluenceForm.h"
#include "app/MainForm.h"
#include "confluence/Confluence.h"
#include "confluence/ConfluenceText.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"

namespace tavimo::app::test {
namespace {

class ConfluenceWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CreateTheWindows();
    Form().show();
    Form().ConfluenceAction()->trigger();
    ASSERT_NE(Form().Confluence(), nullptr);
  }
  TConfluenceForm& Window() { return *Form().Confluence(); }
  void SetCell(int row, int column, const char* text) {
    Window().WavesTable()->setItem(row, column, new QTableWidgetItem(QString::fromUtf8(text)));
  }
  // Types into a cell through its editor, without ending the edit.
  void TypeIntoCell(int row, int column, const char* text) {
    QTableWidget* table = Window().WavesTable();
    if (!table->item(row, column)) SetCell(row, column, "");
    // A new current cell opens its editor by itself (every edit trigger is on).
    table->setCurrentCell(row, column);
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    if (!editor) {
      table->editItem(table->item(row, column));
      editor = table->viewport()->findChild<QLineEdit*>();
    }
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QString::fromUtf8(text));
  }
  static std::vector<ConfluenceZoneRow> Expected(const std::vector<ConfluenceWave>& waves) {
    const ConfluenceOptions options{{ComputeMode::Resistance, ComputeMode::Support, ComputeMode::ProjectionUp,
                                     ComputeMode::ProjectionDown},
                                    LevelScale::Linear,
                                    kDefaultConfluenceTolerance,
                                    {}};
    return MakeConfluenceRows(FindConfluenceZones(waves, CurrentRatioList(), options), CurrentRatioList());
  }
};

TEST_F(ConfluenceWindowTest, TwoWavesGiveTheCalculatorsZonesAsTheyAreTyped) {
  EXPECT_EQ(Window().WavesTable()->rowCount(), 2);
  EXPECT_FALSE(Window().ModeBox(ComputeMode::Rise)->isChecked());
  EXPECT_TRUE(Window().ModeBox(ComputeMode::ProjectionDown)->isChecked());
  SetCell(0, TConfluenceForm::LowColumn, "10");
  SetCell(0, TConfluenceForm::HighColumn, "20");
  SetCell(1, TConfluenceForm::LowColumn, "12");
  TypeIntoCell(1, TConfluenceForm::HighColumn, "18");

  const std::vector<ConfluenceZoneRow> expected = Expected({{10, 20, {}}, {12, 18, {}}});
  ASSERT_FALSE(expected.empty());
  QTableWidget* zones = Window().ZonesTable();
  ASSERT_EQ(zones->rowCount(), static_cast<int>(expected.size()));
  EXPECT_EQ(zones->item(0, 0)->text().toStdString(), expected[0].lowText);
  EXPECT_EQ(zones->item(0, 1)->text().toStdString(), expected[0].highText);
  EXPECT_EQ(zones->item(0, 2)->text(), QString::number(expected[0].waves));
  EXPECT_EQ(zones->item(0, 3)->text(), QString::number(expected[0].levels));
  EXPECT_EQ(FormatConfluenceRows(OutputFormat::Csv, 0.5L, Window().ZoneRows()),
            FormatConfluenceRows(OutputFormat::Csv, 0.5L, expected));

  QGuiApplication::clipboard()->clear();
  Window().CopyButton()->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            FormatConfluenceRows(OutputFormat::Text, 0.5L, expected));
  EXPECT_TRUE(Prompter().messages.empty());
}

TEST_F(ConfluenceWindowTest, BadCellSkipsItsRowWithoutABox) {
  SetCell(0, TConfluenceForm::LowColumn, "10");
  SetCell(0, TConfluenceForm::HighColumn, "20");
  SetCell(1, TConfluenceForm::HighColumn, "18");
  TypeIntoCell(1, TConfluenceForm::LowColumn, "1x");
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_TRUE(Window().StatusLabel()->text().contains(QStringLiteral("第 2 行"))) << Window().StatusLabel()->text().toStdString();
  // The first wave alone: one wave needs only itself.
  EXPECT_EQ(Window().ZonesTable()->rowCount(), static_cast<int>(Expected({{10, 20, {}}}).size()));
  EXPECT_GT(Window().ZonesTable()->rowCount(), 0);
  // A wrong tolerance empties the zones, again without a box.
  Window().ToleranceEdit()->setText("-1");
  EXPECT_EQ(Window().ZonesTable()->rowCount(), 0);
  EXPECT_TRUE(Prompter().messages.empty());
}

TEST_F(ConfluenceWindowTest, FollowsTheMainWindowsTickAndLogScaleKeepingRiseLinear) {
  SetCell(0, TConfluenceForm::LowColumn, "10");
  SetCell(0, TConfluenceForm::HighColumn, "20");
  SetCell(1, TConfluenceForm::LowColumn, "12");
  SetCell(1, TConfluenceForm::HighColumn, "18");
  Window().ModeBox(ComputeMode::Rise)->setChecked(true);
  Prompter().Answer("0.05");
  Form().PriceTickAction()->trigger();
  Form().LogScaleAction()->trigger();
  EXPECT_TRUE(Prompter().messages.empty());

  // Rise stays in the sweep, linear, beside the modes that take the log scale.
  const ConfluenceOptions options{{ComputeMode::Rise, ComputeMode::Resistance, ComputeMode::Support,
                                   ComputeMode::ProjectionUp, ComputeMode::ProjectionDown},
                                  LevelScale::Log,
                                  kDefaultConfluenceTolerance,
                                  {}};
  const PriceTick tick("0.05");
  const std::vector<ConfluenceZoneRow> expected =
      MakeConfluenceRows(FindConfluenceZones({{10, 20, {}}, {12, 18, {}}}, CurrentRatioList(), options),
                         CurrentRatioList(), &tick);
  const std::string shown = FormatConfluenceRows(OutputFormat::Csv, 0.5L, Window().ZoneRows());
  EXPECT_EQ(shown, FormatConfluenceRows(OutputFormat::Csv, 0.5L, expected));
  EXPECT_NE(shown.find(",rise,"), std::string::npos) << shown;
}

TEST_F(ConfluenceWindowTest, CsvExportWritesTheZonesToTheChosenFile) {
  SetCell(0, TConfluenceForm::LowColumn, "10");
  SetCell(0, TConfluenceForm::HighColumn, "20");
  SetCell(1, TConfluenceForm::LowColumn, "12");
  SetCell(1, TConfluenceForm::HighColumn, "18");
  const std::string path = (temp_.Path() / "zones.csv").string();
  Prompter().Answer(path);
  Window().ExportButton()->click();
  EXPECT_TRUE(Prompter().messages.empty());
  const std::string csv = ReadFile(path);
  EXPECT_EQ(csv.rfind("zone,low,high,waves,levels,wave,mode,ratio,level,text\r\n", 0), 0u) << csv;
  EXPECT_EQ(csv, FormatConfluenceRows(OutputFormat::Csv, 0.5L, Expected({{10, 20, {}}, {12, 18, {}}})));
}

}  // namespace
}  // namespace tavimo::app::test
