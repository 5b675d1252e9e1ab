// The About and Help windows: created hidden, shown without modality,
// hidden on close, their controls and the addresses their links open.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "AppTestSupport.h"
#include "app/AboutForm.h"
#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/MakerInfo.h"

namespace tavimo::app::test {
namespace {

class SecondaryWindowsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CreateTheWindows();
    Form().show();
  }
  TForm5& About() { return *windows_.about; }
  TForm7& Help() { return *windows_.help; }
  QLabel* AboutLabel(const char* name) { return About().findChild<QLabel*>(QString::fromLatin1(name)); }
};

TEST_F(SecondaryWindowsTest, BothWindowsStartHiddenWithTheirFramesAndPlaces) {
  EXPECT_FALSE(About().isVisible());
  EXPECT_FALSE(Help().isVisible());
  EXPECT_EQ(About().windowTitle(), "关于");
  EXPECT_EQ(Help().windowTitle(), "帮助");
  EXPECT_EQ(About().size(), QSize(408, 374));
  EXPECT_EQ(Help().size(), QSize(436, 367));
  EXPECT_EQ(About().pos(), QPoint(382, 214));
  EXPECT_EQ(Help().pos(), QPoint(192, 309));
  // Dialog frames: not resizable.
  EXPECT_EQ(About().minimumSize(), About().maximumSize());
  EXPECT_EQ(Help().minimumSize(), Help().maximumSize());
}

struct AboutRow {
  const char* name;
  QRect geometry;
  int pixelSize;
  bool link;
};

TEST_F(SecondaryWindowsTest, AboutControlsSitAtTheirPlaces) {
  QTest::mouseClick(Form().Button(1), Qt::LeftButton);
  const AboutRow rows[] = {
      {"Image1", QRect(16, 16, 65, 65), 0, false},   {"Label1", QRect(104, 16, 231, 33), 32, false},
      {"Label2", QRect(112, 56, 144, 16), 16, false}, {"Label4", QRect(120, 80, 56, 16), 16, false},
      {"Label12", QRect(184, 80, 16, 16), 16, false}, {"Label11", QRect(200, 80, 64, 16), 16, true},
      {"Label13", QRect(264, 80, 16, 16), 16, false}, {"Label3", QRect(88, 104, 39, 15), 15, false},
      {"Label7", QRect(136, 104, 72, 15), 15, true},  {"Label10", QRect(216, 104, 60, 15), 15, false},
      {"Label5", QRect(90, 128, 38, 15), 15, false},  {"Label8", QRect(136, 128, 128, 15), 15, true},
      {"Label6", QRect(90, 152, 38, 15), 15, false},  {"Label9", QRect(136, 152, 200, 15), 15, true},
  };
  for (const AboutRow& row : rows) {
    SCOPED_TRACE(row.name);
    QLabel* label = AboutLabel(row.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pos(), row.geometry.topLeft());
    if (row.name == std::string("Image1")) {
      EXPECT_EQ(label->size(), row.geometry.size());
    } else {
      // Sized by their text, never below the designed size.
      EXPECT_GE(label->width(), row.geometry.width());
      EXPECT_GE(label->height(), row.geometry.height());
      EXPECT_GE(label->width(), label->sizeHint().width());
    }
    if (row.pixelSize) {
      EXPECT_EQ(label->font().pixelSize(), row.pixelSize);
    }
    EXPECT_EQ(label->font().underline(), row.link);
    EXPECT_EQ(label->cursor().shape() == Qt::PointingHandCursor, row.link);
    if (row.link) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
  }
  EXPECT_EQ(AboutLabel("Label1")->text(), "Tavimo");
  EXPECT_TRUE(AboutLabel("Label1")->font().bold());
  EXPECT_EQ(AboutLabel("Label4")->text(), "版本1.3");
  EXPECT_EQ(AboutLabel("Label11")->text(), "查看更新");
  EXPECT_EQ(AboutLabel("Label7")->text(), QString::fromUtf8(maker::kQQ));
  EXPECT_EQ(AboutLabel("Label8")->text(), QString::fromUtf8(maker::kEmail));
  EXPECT_TRUE(AboutLabel("Label2")->text().contains(QString::fromUtf8(maker::kName)));
  ASSERT_FALSE(AboutLabel("Image1")->pixmap().isNull());
  EXPECT_EQ(AboutLabel("Image1")->pixmap().size(), QSize(64, 64));

  auto* group = About().findChild<QGroupBox*>("GroupBox1");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->geometry(), QRect(40, 168, 329, 161));
  EXPECT_EQ(group->title(), "关于我");
  EXPECT_EQ(About().Memo1()->geometry(), QRect(2, 15, 325, 144));
  EXPECT_EQ(About().Memo1()->toPlainText().split('\n').size(), 9);
  EXPECT_FALSE(About().Memo1()->isReadOnly());
  EXPECT_EQ(About().Button1()->geometry(), QRect(136, 336, 89, 33));
  EXPECT_EQ(About().Button1()->text(), "确定");
}

TEST_F(SecondaryWindowsTest, LinksOpenTheirAddresses) {
  const char* links[] = {"Image1", "Label9", "Label8", "Label7", "Label11"};
  for (const char* name : links) QTest::mouseClick(AboutLabel(name), Qt::LeftButton);
  const std::string web = maker::kWebPage;
  ASSERT_EQ(shell_.opened.size(), 5u);
  EXPECT_EQ(shell_.opened[0], web);
  EXPECT_EQ(shell_.opened[1], web);
  EXPECT_EQ(shell_.opened[2], std::string("mailto:") + maker::kEmail);
  EXPECT_EQ(shell_.opened[3], std::string("tencent://message/?Menu=yes&uin=") + maker::kQQ +
                                  "&Site=" + QUrl(QString::fromUtf8(maker::kWebPage)).host().toStdString());
  EXPECT_EQ(shell_.opened[4], maker::kAboutUpdatePage);
  // Plain labels open nothing.
  QTest::mouseClick(AboutLabel("Label4"), Qt::LeftButton);
  QTest::mouseClick(AboutLabel("Label3"), Qt::LeftButton);
  EXPECT_EQ(shell_.opened.size(), 5u);
}

TEST_F(SecondaryWindowsTest, OkHidesTheAboutWindowAndAboutShowsItAgainWithItsEdits) {
  QTest::mouseClick(Form().Button(1), Qt::LeftButton);
  ASSERT_TRUE(About().isVisible());
  About().Memo1()->appendPlainText("typed");
  QTest::mouseClick(About().Button1(), Qt::LeftButton);
  EXPECT_FALSE(About().isVisible());
  QTest::mouseClick(Form().Button(1), Qt::LeftButton);
  EXPECT_TRUE(About().isVisible());
  EXPECT_TRUE(About().Memo1()->toPlainText().endsWith("typed"));
  EXPECT_EQ(About().pos(), QPoint(382, 214));
}

TEST_F(SecondaryWindowsTest, ClosingTheHelpWindowHidesItAndKeepsItsText) {
  QTest::mouseClick(Form().Button(9), Qt::LeftButton);
  Help().Memo1()->appendPlainText("my notes");
  EXPECT_TRUE(Help().close());
  EXPECT_FALSE(Help().isVisible());
  EXPECT_TRUE(Form().isVisible());
  QTest::mouseClick(Form().Button(9), Qt::LeftButton);
  EXPECT_TRUE(Help().isVisible());
  EXPECT_TRUE(Help().Memo1()->toPlainText().endsWith("my notes"));
}

TEST_F(SecondaryWindowsTest, HelpTextFillsTheWindowWithWrappingAndAScrollBar) {
  QTest::mouseClick(Form().Button(9), Qt::LeftButton);
  EXPECT_EQ(Help().Memo1()->geometry(), QRect(0, 0, 436, 367));
  EXPECT_EQ(Help().Memo1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(Help().Memo1()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_FALSE(Help().Memo1()->isReadOnly());
  const QStringList lines = Help().Memo1()->toPlainText().split('\n');
  ASSERT_GT(lines.size(), 80);
  EXPECT_EQ(lines[6], "一．软件由来：");
  EXPECT_EQ(lines[9], "二．使用说明：");
  EXPECT_EQ(lines[12], "");
  EXPECT_EQ(lines[13], "附录：网上找的股票黄金分割法的文章");
}

}  // namespace
}  // namespace tavimo::app::test
