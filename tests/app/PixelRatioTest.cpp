// The windows on a screen of any pixel ratio: ctest runs these tests again
// with QT_SCALE_FACTOR at 1.25, 1.5 and 2. The chart is drawn at the ratio
// and shown pixel for pixel, the mouse keeps working in logical pixels, and
// the group box's title keeps its glyphs whole. ScreenMove runs on two
// screens of ratios 1 and 2 (TwoScreens.json).

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>

#include "AppTestSupport.h"
#include "app/ChartWidget.h"
#include "app/MainForm.h"
#include "chart/Chart.h"
#include "chart/RasterCanvas.h"

namespace tavimo::app::test {
namespace {

class PixelRatio : public ShownChartTest {
 protected:
  double Ratio() { return Chart().devicePixelRatioF(); }
};

TEST_F(PixelRatio, ChartIsDrawnAtTheScreensRatioAndShownPixelForPixel) {
  const QImage& image = Chart().Canvas().Image();
  EXPECT_EQ(Engine().Scale(), Ratio());
  EXPECT_EQ(image.size(), QSize(chart::ScaleLength(597, Ratio()), chart::ScaleLength(504, Ratio())));
  EXPECT_EQ(image.devicePixelRatio(), Ratio());
  // The layout stays in logical pixels.
  EXPECT_EQ(Engine().ClientWidth(), 597);
  EXPECT_EQ(Engine().PlotRect(), (chart::Rect{108, 76, 567, 428}));
  const QImage shown = Chart().grab().toImage().convertToFormat(image.format());
  ASSERT_EQ(shown.size(), image.size());
  // Label3 lies over the chart's left side; compare a part away from it.
  const QRect sample(chart::ScaleLength(100, Ratio()), chart::ScaleLength(60, Ratio()),
                     chart::ScaleLength(400, Ratio()), chart::ScaleLength(380, Ratio()));
  EXPECT_TRUE(shown.copy(sample) == image.copy(sample));
}

TEST_F(PixelRatio, RightDragPansTheSameValueDistanceAtEveryRatio) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  PaintNow();
  const chart::TChartAxis& axis = Engine().BottomAxis();
  // Value per logical pixel, which the layout fixes whatever the ratio.
  const double perPixel = axis.WorkRange() / axis.PixelSpan();
  EXPECT_EQ(axis.PixelSpan(), 459);
  const double minimum = axis.Minimum();
  const QPoint start(300, 250);
  QTest::mousePress(&Chart(), Qt::RightButton, Qt::NoModifier, start);
  ASSERT_TRUE(Engine().Panning());
  QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(20, 0)), Chart().mapToGlobal(QPointF(start + QPoint(20, 0))),
                   Qt::NoButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(&Chart(), &move);
  QTest::mouseRelease(&Chart(), Qt::RightButton, Qt::NoModifier, start + QPoint(20, 0));
  EXPECT_NEAR(axis.Minimum(), minimum - 20 * perPixel, 1e-9);
}

// Rows of `image` in `columns` that hold ink (darker than mid-gray), first to last.
int InkHeight(const QImage& image, int left, int right, int bottom) {
  int first = -1;
  int last = -1;
  for (int y = 0; y < bottom && y < image.height(); ++y)
    for (int x = left; x < right && x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 160) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return first < 0 ? 0 : last - first + 1;
}

// The title as the box shows it is as tall as the same text drawn with room
// around it at the same ratio: no glyph loses its top to the box's edge.
TEST_F(PixelRatio, GroupBoxTitleIsWholeAtTheScreensRatio) {
  QGroupBox* box = Form().GroupBox1();
  QStyleOptionGroupBox option;
  option.initFrom(box);
  option.text = box->title();
  option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
  const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
  ASSERT_TRUE(box->rect().contains(label));
  const double r = Ratio();
  const QImage shown = box->grab().toImage();
  const int height = InkHeight(shown, int(label.left() * r) + 2, int(label.right() * r) - 2,
                               int((label.bottom() + 3) * r));

  QImage free(QSize(200, 100) * r, QImage::Format_RGB32);
  free.setDevicePixelRatio(r);
  free.fill(Qt::yellow);
  {
    QPainter painter(&free);
    painter.setFont(box->font());
    painter.setPen(Qt::black);
    painter.drawText(QPointF(10, 50), box->title());
  }
  const int whole = InkHeight(free, 0, free.width(), free.height());
  ASSERT_GT(whole, 10);
  EXPECT_EQ(height, whole);
}

using ScreenMove = PixelRatio;

TEST_F(ScreenMove, MovingToAScreenOfAnotherRatioRedrawsTheChartAtIt) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2);
  ASSERT_EQ(screens[1]->devicePixelRatio(), 2.0);
  Form().move(screens[0]->geometry().topLeft() + QPoint(50, 50));
  ProcessEvents();
  ASSERT_EQ(Ratio(), 1.0);
  EXPECT_EQ(Chart().Canvas().Image().size(), QSize(597, 504));

  Form().move(screens[1]->geometry().topLeft() + QPoint(50, 50));
  ProcessEvents();
  ASSERT_EQ(Ratio(), 2.0);
  EXPECT_FALSE(Engine().Dirty()) << "drawn again";
  EXPECT_EQ(Engine().Scale(), 2.0);
  EXPECT_EQ(Chart().Canvas().Image().size(), QSize(1194, 1008));
  EXPECT_EQ(Chart().Canvas().Image().devicePixelRatio(), 2.0);
}

}  // namespace
}  // namespace tavimo::app::test
