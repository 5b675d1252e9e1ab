// The chart control: it shows the chart's off-screen image, repaints when
// the chart asks, and passes drags and (only while focused) the wheel on.

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include "AppTestSupport.h"
#include "app/ChartWidget.h"
#include "app/ErrorReporting.h"
#include "app/MainForm.h"
#include "app/TavimoApplication.h"
#include "chart/Chart.h"
#include "chart/RasterCanvas.h"
#include "runtime/Exceptions.h"

namespace tavimo::app::test {
namespace {

class ChartWidgetTest : public ShownChartTest {
 protected:
  QPoint PlotCentre() {
    const chart::Rect r = Engine().PlotRect();
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void Wheel(QWidget* target, int delta) {
    QWheelEvent event(QPointF(100, 100), target->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
  }
};

TEST_F(ChartWidgetTest, WidgetShowsTheChartImageAtItsClientSize) {
  const QImage& image = Chart().Canvas().Image();
  ASSERT_EQ(image.size(), QSize(597, 504));
  EXPECT_FALSE(Engine().Dirty());
  const QImage shown = Chart().grab().toImage().convertToFormat(image.format());
  // Label3 lies over the chart's left side; compare a part away from it.
  const QRect sample(100, 60, 400, 380);
  EXPECT_EQ(shown.copy(sample), image.copy(sample));
}

TEST_F(ChartWidgetTest, SeriesChangesRepaintTheChart) {
  const QImage before = Chart().Canvas().Image().copy();
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  EXPECT_TRUE(Engine().Dirty());
  ProcessEvents();
  EXPECT_FALSE(Engine().Dirty());
  EXPECT_NE(Chart().Canvas().Image(), before);
}


// Levels whose range overflows when the chart lays them out: the paint
// raises EOverflow, the error box shows it once however often the control is
// exposed, and the window goes on with the next computation.
TEST_F(ChartWidgetTest, AnOverflowingPaintIsReportedOnceAndTheWindowGoesOn) {
  Prompter().messages.clear();
  Form().Edit1()->setText("0");
  Form().Edit2()->setText("8e307");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  for (int i = 0; i < 3; ++i) PaintNow();
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "Floating point overflow.");
  EXPECT_TRUE(Engine().Dirty());

  Form().Edit2()->setText("20");
  Form().Edit1()->setText("10");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  PaintNow();
  EXPECT_FALSE(Engine().Dirty());
  EXPECT_EQ(Prompter().messages.size(), 1u);
}

TEST_F(ChartWidgetTest, RightDragPansTheValueAxisAndLeftDragDoesNothing) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  PaintNow();
  const QPoint start = PlotCentre();
  const double min0 = Engine().BottomAxis().Minimum();

  QTest::mousePress(&Chart(), Qt::LeftButton, Qt::NoModifier, start);
  QTest::mouseMove(&Chart(), start + QPoint(30, 0));
  QTest::mouseRelease(&Chart(), Qt::LeftButton, Qt::NoModifier, start + QPoint(30, 0));
  EXPECT_EQ(Engine().BottomAxis().Minimum(), min0);
  EXPECT_TRUE(Engine().BottomAxis().Automatic());

  QTest::mousePress(&Chart(), Qt::RightButton, Qt::NoModifier, start);
  EXPECT_TRUE(Engine().Panning());
  QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(20, 0)), Chart().mapToGlobal(QPointF(start + QPoint(20, 0))),
                   Qt::NoButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(&Chart(), &move);
  QTest::mouseRelease(&Chart(), Qt::RightButton, Qt::NoModifier, start + QPoint(20, 0));
  EXPECT_FALSE(Engine().Panning());
  EXPECT_FALSE(Engine().BottomAxis().Automatic());
  // Dragging right shows smaller values: the range moves down.
  EXPECT_LT(Engine().BottomAxis().Minimum(), min0);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// A right press and release within the drag distance opens the chart's menu;
// farther apart they pan and open nothing. Reset view then gives the
// picture of the automatic axes back. Levels are computed first: a pan of the
// start-up chart's zero-wide value range leaves that axis automatic.
TEST_F(ChartWidgetTest, RightClickOpensTheMenuAndResetViewUndoesAPan) {
  Form().Edit1()->setText(QStringLiteral("10"));
  Form().Edit2()->setText(QStringLiteral("20"));
  Form().Button4Click();
  const QImage automatic = Chart().Picture();
  const QPoint start = PlotCentre();
  const int near = QApplication::startDragDistance() - 1;
  QTest::mousePress(&Chart(), Qt::RightButton, Qt::NoModifier, start);
  QTest::mouseRelease(&Chart(), Qt::RightButton, Qt::NoModifier, start + QPoint(near, 0));
  QMenu* menu = Form().ChartMenu();
  ASSERT_TRUE(menu->isVisible());
  EXPECT_EQ(QApplication::activePopupWidget(), menu);
  QStringList items;
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) items << action->text();
  for (const char* item : {"复制价位(&C)", "保存图片(&S)…", "复位视图(&R)", "比例预设(&P)", "帮助(&H)"})
    EXPECT_TRUE(items.contains(QString::fromUtf8(item))) << item << " in " << items.join('|').toStdString();
  menu->hide();

  const QPoint end = start + QPoint(40, 25);
  QTest::mousePress(&Chart(), Qt::RightButton, Qt::NoModifier, start);
  QMouseEvent move(QEvent::MouseMove, QPointF(end), Chart().mapToGlobal(QPointF(end)), Qt::NoButton, Qt::RightButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&Chart(), &move);
  QTest::mouseRelease(&Chart(), Qt::RightButton, Qt::NoModifier, end);
  EXPECT_FALSE(menu->isVisible());
  EXPECT_FALSE(Engine().BottomAxis().Automatic());
  EXPECT_FALSE(Engine().LeftAxis().Automatic());
  ASSERT_NE(Chart().Picture(), automatic);

  Form().ResetView();
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(Engine().Axis(i).Automatic()) << i;
  EXPECT_EQ(Chart().Picture(), automatic);
  // The picture is the chart as shown, the caption label included.
  EXPECT_EQ(Chart().grab().toImage().convertToFormat(QImage::Format_RGB32), automatic);
}

TEST_F(ChartWidgetTest, WheelScrollsOnlyWhileTheChartHasTheFocus) {
  const double min0 = Engine().LeftAxis().Minimum();
  const double max0 = Engine().LeftAxis().Maximum();
  Form().Edit1()->setFocus();
  Wheel(&Chart(), -120);
  EXPECT_EQ(Engine().LeftAxis().Minimum(), min0);
  EXPECT_TRUE(Engine().LeftAxis().Automatic());

  // A click gives the chart the focus; then a notch down moves the range by 3 percent.
  QTest::mouseClick(&Chart(), Qt::LeftButton, Qt::NoModifier, PlotCentre());
  ASSERT_TRUE(Chart().hasFocus());
  Wheel(&Chart(), -60);
  EXPECT_EQ(Engine().LeftAxis().Minimum(), min0);
  Wheel(&Chart(), -60);
  EXPECT_DOUBLE_EQ(Engine().LeftAxis().Minimum(), min0 + (max0 - min0) * 0.03);
  EXPECT_FALSE(Engine().LeftAxis().Automatic());
  // Wheel input that another control passed up to the window reaches the focused chart.
  const double min1 = Engine().LeftAxis().Minimum();
  Wheel(&Form(), 120);
  EXPECT_LT(Engine().LeftAxis().Minimum(), min1);
  Form().Edit2()->setFocus();
  const double min2 = Engine().LeftAxis().Minimum();
  Wheel(&Form(), 120);
  EXPECT_EQ(Engine().LeftAxis().Minimum(), min2);
}

TEST_F(ChartWidgetTest, ErrorDuringADragEndsTheDrag) {
  QTest::mousePress(&Chart(), Qt::RightButton, Qt::NoModifier, PlotCentre());
  ASSERT_TRUE(Engine().Panning());
  ASSERT_EQ(QWidget::mouseGrabber(), &Chart());
  Application().Reporter().ReportException(std::make_exception_ptr(Exception("boom")));
  EXPECT_FALSE(Engine().Panning());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "boom.");
}

}  // namespace
}  // namespace tavimo::app::test
