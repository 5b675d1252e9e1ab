// The windows' language: which one the user's interface languages choose,
// and the English windows, every caption translated and measured with the
// window's fonts against its control at its fixed place.

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>

#include "AppTestSupport.h"
#include "app/AboutForm.h"
#include "app/ChoiceListDialog.h"
#include "app/ConfluenceForm.h"
#include "app/HelpForm.h"
#include "app/Language.h"
#include "app/MainForm.h"

namespace tavimo::app {

// The language a parameterised test runs in, by name; found next to the type.
static void PrintTo(TUiLanguage language, std::ostream* os) {
  *os << (language == TUiLanguage::English ? "English" : "Chinese");
}

namespace test {
namespace {

TEST(UiLanguage, TheFirstEnglishOrChineseOrCLanguageDecides) {
  const struct {
    QStringList languages;
    TUiLanguage expected;
  } cases[] = {
      {{"en-US", "en-Latn-US", "en"}, TUiLanguage::English},
      {{"en-GB"}, TUiLanguage::English},
      {{"zh-CN", "zh-Hans-CN", "zh"}, TUiLanguage::Chinese},
      {{"zh-TW"}, TUiLanguage::Chinese},
      {{"C"}, TUiLanguage::Chinese},
      {{"POSIX"}, TUiLanguage::Chinese},
      {{"de-DE", "de", "en-US"}, TUiLanguage::English},
      {{"de-DE", "zh-CN", "en-US"}, TUiLanguage::Chinese},
      {{"fr-FR"}, TUiLanguage::Chinese},
      {{}, TUiLanguage::Chinese},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.languages.join(',').toStdString());
    EXPECT_EQ(PreferredUiLanguage(c.languages), c.expected);
    EXPECT_EQ(ChooseUiLanguage(c.languages, true), c.expected);
  }
}

TEST(UiLanguage, WithoutAChineseFontTheWindowsAreEnglishAndSaySo) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(ChooseUiLanguage({"zh-CN"}, false), TUiLanguage::English);
  EXPECT_EQ(ChooseUiLanguage({"C"}, false), TUiLanguage::English);
  EXPECT_EQ(ChooseUiLanguage({"en-US"}, false), TUiLanguage::English);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("font"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
}

bool HasChineseCharacter(const QString& text) {
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
  }
  return false;
}

// The room a push button gives its caption in the window's style: its
// contents without the margins the style keeps beside a caption.
QRect CaptionRoom(QPushButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
  return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).adjusted(margin, 0, -margin, 0);
}

// The controls of one parent must not cover one another (labels grow with their text).
void ExpectNoOverlaps(QWidget* parent) {
  const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* a : children) {
    if (qobject_cast<QLabel*>(a) == nullptr) continue;
    for (QWidget* b : children) {
      if (a == b || !b->isVisibleTo(parent) || b->objectName() == QStringLiteral("Chart1")) continue;
      EXPECT_FALSE(a->geometry().intersects(b->geometry()))
          << a->objectName().toStdString() << " covers " << b->objectName().toStdString();
    }
  }
}

// The windows built in a language, all three shown.
class TranslatedWindowTest : public WindowTest {
 protected:
  void Build(TUiLanguage language) {
    if (language == TUiLanguage::English) {
      ASSERT_TRUE(translator_.load(QStringLiteral(":/tavimo/i18n/tavimo_en.qm")));
      QCoreApplication::installTranslator(&translator_);
    }
    CreateTheWindows();
    Form().show();
    windows_.about->show();
    windows_.help->show();
  }
  void TearDown() override {
    WindowTest::TearDown();
    QCoreApplication::removeTranslator(&translator_);
  }
  QTranslator translator_;
};

class WindowLanguageTest : public TranslatedWindowTest, public testing::WithParamInterface<TUiLanguage> {
 protected:
  void SetUp() override {
    TranslatedWindowTest::SetUp();
    Build(GetParam());
  }
};

TEST_P(WindowLanguageTest, EveryCaptionFitsItsControl) {
  std::vector<QPushButton*> buttons = {windows_.about->Button1()};
  for (int number = 1; number <= 11; ++number) buttons.push_back(Form().Button(number));
  for (QPushButton* button : buttons) {
    SCOPED_TRACE(button->text().toStdString());
    const QFontMetrics metrics(button->font());
    const QRect room = CaptionRoom(button);
    EXPECT_LE(metrics.horizontalAdvance(button->text()), room.width());
    EXPECT_LE(metrics.height(), room.height());
  }
  for (QGroupBox* box : {Form().GroupBox1(), windows_.about->findChild<QGroupBox*>()})
    EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(box->title()), box->width() - 16);
  ExpectNoOverlaps(Form().GroupBox1());
  ExpectNoOverlaps(windows_.about);
  // The vertical caption stays clear of the buttons at the bottom.
  EXPECT_LT(Form().Label3()->geometry().bottom(), Form().Button(2)->geometry().top());
}

TEST_F(TranslatedWindowTest, EnglishWindowsHoldNoChineseText) {
  // Enough presets of the user's for the presets' submenu to end in a list of them all.
  std::string presets = "[presets]\n";
  for (int i = 1; i <= 21; ++i) presets += "mine " + std::to_string(i) + "=0.5\n";
  WriteFile(SettingsPath(), presets);
  Build(TUiLanguage::English);
  // The confluence window is owned by the main window, so its controls are checked with it.
  Form().ConfluenceAction()->trigger();
  ASSERT_NE(Form().Confluence(), nullptr);
  EXPECT_FALSE(HasChineseCharacter(Form().Confluence()->windowTitle()));
  for (QCheckBox* box : Form().Confluence()->findChildren<QCheckBox*>())
    EXPECT_FALSE(HasChineseCharacter(box->text())) << box->text().toStdString();
  for (QTableWidget* table : Form().Confluence()->findChildren<QTableWidget*>()) {
    EXPECT_FALSE(HasChineseCharacter(table->accessibleName()));
    for (int column = 0; column < table->columnCount(); ++column)
      EXPECT_FALSE(HasChineseCharacter(table->horizontalHeaderItem(column)->text()));
  }
  for (QWidget* window : {static_cast<QWidget*>(&Form()), static_cast<QWidget*>(windows_.about),
                          static_cast<QWidget*>(windows_.help)}) {
    EXPECT_FALSE(HasChineseCharacter(window->windowTitle())) << window->windowTitle().toStdString();
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->objectName() == QStringLiteral("Label10")) continue;  // the maker's city, set at build time
      EXPECT_FALSE(HasChineseCharacter(label->text())) << label->text().toStdString();
    }
    for (QPushButton* button : window->findChildren<QPushButton*>())
      EXPECT_FALSE(HasChineseCharacter(button->text() + button->toolTip())) << button->text().toStdString();
    for (QGroupBox* box : window->findChildren<QGroupBox*>())
      EXPECT_FALSE(HasChineseCharacter(box->title())) << box->title().toStdString();
    for (QPlainTextEdit* memo : window->findChildren<QPlainTextEdit*>()) {
      EXPECT_FALSE(memo->toPlainText().isEmpty());
      EXPECT_FALSE(HasChineseCharacter(memo->toPlainText())) << memo->objectName().toStdString();
    }
  }
  const TChoiceListDialog chooser(&Form(), "Choose", "Preset:", {"mine 1"});
  EXPECT_FALSE(HasChineseCharacter(chooser.FilterEdit()->placeholderText() + chooser.FilterEdit()->accessibleName()));
  QList<QMenu*> menus = Form().ChartMenu()->findChildren<QMenu*>();
  menus << Form().ChartMenu();
  for (QMenu* menu : menus) {
    emit menu->aboutToShow();
    for (QAction* action : menu->actions())
      EXPECT_FALSE(HasChineseCharacter(action->text())) << action->text().toStdString();
  }
  const QList<QAction*> presetItems = Form().ChartMenu()->findChild<QMenu*>(QStringLiteral("PresetsMenu"))->actions();
  EXPECT_TRUE(std::any_of(presetItems.begin(), presetItems.end(),
                          [](const QAction* action) { return action->text() == QStringLiteral("More…"); }));
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowLanguageTest, testing::Values(TUiLanguage::Chinese, TUiLanguage::English),
                         [](const testing::TestParamInfo<TUiLanguage>& info) {
                           return info.param == TUiLanguage::English ? "English" : "Chinese";
                         });

}  // namespace
}  // namespace test
}  // namespace tavimo::app
