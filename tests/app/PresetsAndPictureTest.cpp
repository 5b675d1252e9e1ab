// The chart menu's ratio presets and Ctrl+S, the chart saved as a PNG file.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "AppTestSupport.h"
#include "app/ChartWidget.h"
#include "app/ChoiceListDialog.h"
#include "app/MainForm.h"
#include "calc/RatioList.h"
#include "settings/RatioPresets.h"

namespace tavimo::app::test {
namespace {

class PresetsAndPictureTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ShowTheMainWindow();
  }
  QMenu& Presets() {
    QMenu* presets = Form().ChartMenu()->findChild<QMenu*>(QStringLiteral("PresetsMenu"));
    emit presets->aboutToShow();
    return *presets;
  }
  QAction* Preset(const QString& name) {
    for (QAction* action : Presets().actions())
      if (action->text() == name) return action;
    return nullptr;
  }
  std::string Stored() { return ReadFile(SettingsPath()); }
  // The texts of the submenu's items, separators as "-".
  std::vector<std::string> MenuTexts() {
    std::vector<std::string> texts;
    for (QAction* action : Presets().actions())
      texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return texts;
  }
};

// "Preset 01=0.5,1" ... as a [presets] section of count entries.
std::string StoredPresets(int count) {
  std::string section = "[presets]\n";
  for (int i = 1; i <= count; ++i) section += QStringLiteral("Preset %1=0.5,%2\n").arg(i, 2, 10, QChar('0')).arg(i).toStdString();
  return section;
}

TEST_F(PresetsAndPictureTest, TheMenuListsTwentyOfTheUsersPresetsAndTheRestBehindMore) {
  for (const int count : {20, 25}) {
    SCOPED_TRACE(count);
    WriteFile(SettingsPath(), StoredPresets(count));
    std::vector<std::string> expected = {"默认比例", "经典回撤", "扩展比例", "三分法", "-"};
    for (int i = 1; i <= 20; ++i) expected.push_back(QStringLiteral("Preset %1").arg(i, 2, 10, QChar('0')).toStdString());
    if (count > 20) expected.push_back("更多…");
    for (const char* command : {"-", "将当前比例存为预设(&A)…", "删除预设(&D)…"}) expected.push_back(command);
    EXPECT_EQ(MenuTexts(), expected);
  }
}

// Runs act on the list dialog once it is up.
void OnChoiceDialog(const std::function<void(TChoiceListDialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<TChoiceListDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no list dialog is up";
      return;
    }
    act(*dialog);
  });
}

TEST_F(PresetsAndPictureTest, MoreOffersEveryPresetInAFilteredListAndAppliesTheOneChosen) {
  WriteFile(SettingsPath(), StoredPresets(25));
  Prompter().realChoiceDialog = true;
  QAction* more = Preset("更多…");
  ASSERT_NE(more, nullptr);

  // Escape leaves everything as it was.
  OnChoiceDialog([](TChoiceListDialog& d) {
    EXPECT_EQ(d.List()->model()->rowCount(), 25);
    for (QWidget* control : {static_cast<QWidget*>(d.FilterEdit()), static_cast<QWidget*>(d.List()),
                             static_cast<QWidget*>(d.OkButton()), static_cast<QWidget*>(d.CancelButton())})
      EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    QTest::keyClick(d.FilterEdit(), Qt::Key_Escape);
  });
  more->trigger();
  EXPECT_EQ(Prompter().offeredChoices.size(), 25u);
  EXPECT_EQ(Form().RatioText(), DefaultRatioText);

  // The filter keeps the names holding the text in any case; Down moves the
  // choice from the first of them, Enter applies it.
  OnChoiceDialog([](TChoiceListDialog& d) {
    QTest::keyClicks(d.FilterEdit(), "pRESET 2");
    QStringList kept;
    for (int row = 0; row < d.List()->model()->rowCount(); ++row)
      kept << d.List()->model()->index(row, 0).data().toString();
    EXPECT_EQ(kept, QStringList({"Preset 20", "Preset 21", "Preset 22", "Preset 23", "Preset 24", "Preset 25"}));
    QTest::keyClick(d.FilterEdit(), Qt::Key_Down);
    QTest::keyClick(d.FilterEdit(), Qt::Key_Return);
  });
  Preset("更多…")->trigger();
  EXPECT_EQ(Form().RatioText(), "0.5,21");
  EXPECT_EQ(BarLabels(), (std::vector<std::string>{"0.5", "21"}));
  EXPECT_EQ(Stored(), StoredPresets(25) + "[tvmo]\nnum=0.5,21\n");

  // A filter that keeps nothing leaves Enter without effect; a double click chooses.
  OnChoiceDialog([](TChoiceListDialog& d) {
    QTest::keyClicks(d.FilterEdit(), "none such");
    EXPECT_FALSE(d.OkButton()->isEnabled());
    QTest::keyClick(d.FilterEdit(), Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    d.FilterEdit()->setText("preset 07");
    // A press and a double click as a window system delivers them.
    const QPointF at = d.List()->visualRect(d.List()->model()->index(0, 0)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
      QMouseEvent event(type, at, d.List()->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
      QCoreApplication::sendEvent(d.List()->viewport(), &event);
    }
  });
  Preset("更多…")->trigger();
  EXPECT_EQ(Form().RatioText(), "0.5,7");
}

TEST_F(PresetsAndPictureTest, ChoosingAPresetAppliesItAsTheSettingsCommandDoes) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  ASSERT_NE(Preset("默认比例"), nullptr);
  EXPECT_TRUE(Preset("默认比例")->isChecked());
  for (const char* name : {"经典回撤", "扩展比例", "三分法"}) ASSERT_NE(Preset(name), nullptr) << name;

  Preset("经典回撤")->trigger();
  EXPECT_EQ(BarLabels(), (std::vector<std::string>{"0.236", "0.382", "0.5", "0.618", "0.786"}));
  EXPECT_EQ(BarValues(), std::vector<double>(5, 0.0));
  EXPECT_EQ(CurrentRatioList(), SplitRatioText("0.236,0.382,0.5,0.618,0.786"));
  EXPECT_EQ(Form().RatioText(), "0.236,0.382,0.5,0.618,0.786");
  EXPECT_EQ(Stored(), "[tvmo]\nnum=0.236,0.382,0.5,0.618,0.786\n");
  EXPECT_TRUE(Preset("经典回撤")->isChecked());
  EXPECT_FALSE(Preset("默认比例")->isChecked());
  EXPECT_EQ(Form().Edit1()->text(), "10");
  EXPECT_TRUE(Prompter().messages.empty());
}

TEST_F(PresetsAndPictureTest, TheUsersPresetsAreSavedNamedAndDeleted) {
  Preset("三分法")->trigger();
  Prompter().Answer(" thirds of mine ");
  Form().SavePresetAs();
  ASSERT_NE(Preset("thirds of mine"), nullptr);
  EXPECT_TRUE(Preset("thirds of mine")->isChecked());
  EXPECT_EQ(Stored(), "[tvmo]\nnum=1/3,1/2,2/3\n[presets]\nthirds of mine=1/3,1/2,2/3\n");

  // A name that could not be read back is refused; Cancel saves nothing.
  Prompter().Answer("a=b");
  Form().SavePresetAs();
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "预设名称不能为空，不能含有“=”，也不能以“;”或“[”开头");
  Prompter().Answer(std::nullopt);
  Form().SavePresetAs();
  EXPECT_EQ(ReadUserPresets(SettingsPath().string()).size(), 1u);

  Preset("默认比例")->trigger();
  Preset("thirds of mine")->trigger();
  EXPECT_EQ(BarLabels(), (std::vector<std::string>{"1/3", "1/2", "2/3"}));

  Prompter().Answer("thirds of mine");
  Form().DeletePreset();
  EXPECT_EQ(Prompter().offeredChoices, (std::vector<std::string>{"thirds of mine"}));
  EXPECT_EQ(Preset("thirds of mine"), nullptr);
  EXPECT_EQ(Stored(), "[tvmo]\nnum=1/3,1/2,2/3\n[presets]\n");
}

TEST_F(PresetsAndPictureTest, CtrlSSavesTheChartAsShownAsAPng) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  const std::string path = (temp_.Path() / "levels.png").string();
  Prompter().Answer(path);
  QTest::keyClick(&Form(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(Prompter().suggestedPaths.size(), 1u);
  EXPECT_TRUE(Prompter().suggestedPaths[0].ends_with("/tavimo.png")) << Prompter().suggestedPaths[0];
  QImage saved(QString::fromStdString(path));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), Form().Chart1()->Picture());

  // Cancel writes nothing; the next save offers the last file again.
  std::filesystem::remove(path);
  Prompter().Answer(std::nullopt);
  Form().SavePicture();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(Prompter().suggestedPaths.back(), path);

  // A file that cannot be written is reported with its path.
  const std::string unwritable = (temp_.Path() / "missing" / "levels.png").string();
  Prompter().Answer(unwritable);
  QTest::keyClick(&Form(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text.rfind("Unable to write to " + unwritable + " (", 0), 0u)
      << Prompter().messages[0].text;
}

TEST_F(PresetsAndPictureTest, APictureThatCannotBeEncodedIsReportedAndTheOldFileKept) {
  const std::string path = (temp_.Path() / "levels.png").string();
  WriteFile(path, "the picture saved before");
  // A chart squeezed to nothing leaves an empty image, which no PNG can hold.
  Form().Chart1()->resize(0, 0);
  Prompter().Answer(path);
  QTest::keyClick(&Form(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ReadFile(path), "the picture saved before");
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text.rfind("Unable to write to " + path + " (", 0), 0u)
      << Prompter().messages[0].text;
  EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::Error);
}

}  // namespace
}  // namespace tavimo::app::test
