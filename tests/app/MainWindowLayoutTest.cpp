// The main window as built: caption, size, frame, colours, every control at
// its place with its caption and font, the tab order, and resizing.

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "AppTestSupport.h"
#include "app/ChartWidget.h"
#include "app/MainForm.h"
#include "chart/Chart.h"

namespace tavimo::app::test {
namespace {

class MainWindowLayoutTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CreateTheWindows();
  }
  QWidget* Control(const char* name) { return Form().findChild<QWidget*>(QString::fromLatin1(name)); }
};

struct ControlRow {
  const char* name;
  const char* parent;
  QRect geometry;
  const char* text;
};

const ControlRow kControls[] = {
    {"GroupBox1", "", QRect(8, 0, 345, 57), "设置"},
    {"Label1", "GroupBox1", QRect(8, 20, 26, 13), "低点"},
    {"Label2", "GroupBox1", QRect(120, 20, 26, 13), "高点"},
    {"Edit1", "GroupBox1", QRect(40, 20, 70, 21), "0"},
    {"Edit2", "GroupBox1", QRect(152, 20, 70, 21), "0"},
    {"Button6", "GroupBox1", QRect(232, 20, 50, 25), "清空"},
    {"Button11", "GroupBox1", QRect(288, 20, 50, 25), "设置"},
    {"Button1", "", QRect(363, 20, 60, 25), "关于我"},
    {"Button9", "", QRect(439, 20, 50, 25), "帮助"},
    {"Button10", "", QRect(504, 20, 70, 25), "检查更新"},
    {"Button2", "", QRect(6, 463, 70, 25), "低点上涨"},
    {"Button3", "", QRect(106, 463, 70, 25), "高点下跌"},
    {"Button4", "", QRect(206, 463, 70, 25), "反弹阻力"},
    {"Button5", "", QRect(305, 463, 70, 25), "回调支撑"},
    {"Button7", "", QRect(405, 463, 70, 25), "计算器"},
    {"Button8", "", QRect(505, 463, 70, 25), "退出"},
};

QString TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QPushButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  return {};
}

void ExpectControlsAtTheirPlaces(QWidget& form) {
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    QWidget* w = form.findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(w, nullptr);
    if (qobject_cast<QLabel*>(w)) {
      // Labels keep their place and grow with their text.
      EXPECT_EQ(w->pos(), row.geometry.topLeft());
      EXPECT_GE(w->width(), row.geometry.width());
      EXPECT_GE(w->height(), row.geometry.height());
    } else {
      EXPECT_EQ(w->geometry(), row.geometry);
    }
    EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(row.parent));
    EXPECT_EQ(TextOf(w), QString::fromUtf8(row.text));
  }
}

TEST_F(MainWindowLayoutTest, EveryControlSitsAtItsPlaceWithItsCaption) { ExpectControlsAtTheirPlaces(Form()); }

TEST_F(MainWindowLayoutTest, WindowHasItsCaptionClientSizeAndTitleBarButtons) {
  EXPECT_EQ(Form().windowTitle(), "Tavimo1.3");
  EXPECT_EQ(Form().size(), QSize(597, 504));
  const Qt::WindowFlags flags = Form().windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  // Sizeable: no fixed size.
  EXPECT_NE(Form().minimumSize(), Form().maximumSize());
  EXPECT_EQ(Form().palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(Form().GroupBox1()->palette().color(QPalette::Window), QColor(Qt::yellow));
  EXPECT_TRUE(Form().GroupBox1()->autoFillBackground());
}

TEST_F(MainWindowLayoutTest, WindowOpensCentredOnTheScreen) {
  Form().PlaceCentred();
  // The window as it was designed from outside, frame included: 605 x 544.
  const QRect outer(Form().pos(), QSize(605, 544));
  const QRect screen = Form().screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(outer)) << outer.x() << "," << outer.y();
  EXPECT_LE(std::abs((outer.left() + outer.width() / 2.0) - (screen.left() + screen.width() / 2.0)), 1.0);
  EXPECT_LE(std::abs((outer.top() + outer.height() / 2.0) - (screen.top() + screen.height() / 2.0)), 1.0);
}

TEST_F(MainWindowLayoutTest, ControlsUseFontAAndTheCaptionLabelIsLargeBoldRed) {
  for (const char* name : {"Label1", "Label2", "Edit1", "Button6", "Button1", "Button2", "Button8"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Control(name)->font().pixelSize(), 13);
    EXPECT_FALSE(Control(name)->font().bold());
  }
  QLabel* label3 = Form().Label3();
  EXPECT_EQ(label3->parentWidget(), Form().Chart1());
  EXPECT_EQ(label3->text(), "黄\n金\n分\n割\n点\n计\n算\n结\n果");
  // At its place, and at least as large as its text and its designed 28 x 243.
  EXPECT_EQ(label3->pos(), QPoint(16, 128));
  EXPECT_GE(label3->width(), std::max(28, label3->sizeHint().width()));
  EXPECT_GE(label3->height(), std::max(243, label3->sizeHint().height()));
  EXPECT_EQ(label3->font().pixelSize(), 27);
  EXPECT_TRUE(label3->font().bold());
  EXPECT_EQ(label3->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_FALSE(label3->autoFillBackground());
  EXPECT_EQ(Form().font().pixelSize(), 11);
}

TEST_F(MainWindowLayoutTest, ChartFillsTheClientAreaBeneathTheOtherControls) {
  EXPECT_EQ(Form().Chart1()->geometry(), QRect(0, 0, 597, 504));
  // First child: everything created later lies above it.
  EXPECT_EQ(Form().children().indexOf(Form().Chart1()), 0);
  EXPECT_TRUE(Form().Chart1()->testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_EQ(Form().Chart1()->focusPolicy(), Qt::ClickFocus);
}

TEST_F(MainWindowLayoutTest, TabOrderRunsThroughThePriceBoxesThenTheButtons) {
  Form().show();
  QApplication::setActiveWindow(&Form());
  Form().Edit1()->setFocus();
  const char* expected[] = {"Edit2",   "Button6", "Button11", "Button1", "Button9", "Button8", "Button7",
                            "Button5", "Button4", "Button3",  "Button2", "Button10", "Edit1"};
  for (const char* name : expected) {
    QWidget* before = QApplication::focusWidget();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
  }
}

TEST_F(MainWindowLayoutTest, ResizingResizesTheChartAndKeepsTheControlsInPlace) {
  Form().show();
  Form().resize(800, 620);
  ProcessEvents();
  EXPECT_EQ(Form().Chart1()->geometry(), QRect(0, 0, 800, 620));
  EXPECT_EQ(Form().Chart1()->Chart().ClientWidth(), 800);
  EXPECT_EQ(Form().Chart1()->Chart().ClientHeight(), 620);
  ExpectControlsAtTheirPlaces(Form());
  EXPECT_EQ(Form().Label3()->pos(), QPoint(16, 128));
  Form().resize(400, 300);
  ProcessEvents();
  EXPECT_EQ(Form().Chart1()->Chart().ClientWidth(), 400);
  ExpectControlsAtTheirPlaces(Form());
}

TEST_F(MainWindowLayoutTest, WithoutDataIniTheChartHasTheSixteenDefaultBarsAtZero) {
  const std::vector<std::string> expected = {"0.191", "0.236", "1/3", "0.382", "0.5",   "0.618", "2/3", "0.809",
                                             "1",     "1.191", "1.236", "1.382", "1.5", "1.618", "1.809", "2"};
  EXPECT_EQ(BarLabels(), expected);
  EXPECT_EQ(BarValues(), std::vector<double>(16, 0.0));
}

TEST_F(MainWindowLayoutTest, StoredListGivesTheBarsAtStart) {
  windows_ = {};
  WriteFile(SettingsPath(), "[tvmo]\r\nnum=0.5,1/3,2\r\n");
  CreateTheWindows();
  EXPECT_EQ(BarLabels(), (std::vector<std::string>{"0.5", "1/3", "2"}));
}

}  // namespace
}  // namespace tavimo::app::test
