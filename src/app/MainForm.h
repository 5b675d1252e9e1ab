#pragma once
// The main window: the two price boxes, the command buttons and the chart
// that fills the window. Every command hands its work to the level
// calculator or the chart and only shows the outcome.

#include <QWidget>
#include <string>
#include <string_view>

#include "calc/ComputeCommand.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavimo::chart {
class THorizBarSeries;
}

namespace tavimo::app {

class TChartWidget;
class TErrorReporter;
class TShell;

class TMainForm : public QWidget {
  Q_OBJECT
 public:
  // settingsPath is the data.ini the settings command stores the list in.
  TMainForm(TErrorReporter& reporter, TShell& shell, std::string settingsPath);

  // The window's windows to show from the About and Help buttons.
  void SetSecondaryWindows(QWidget* about, QWidget* help);

  // The creation handler: loads the ratio list and makes one bar per entry.
  void FormCreate();

  // Centred on the screen, at the outer size the window was designed with.
  void PlaceCentred();

  // Commands, one per button.
  void Button1Click();  // About
  void Button2Click();  // rise from the low
  void Button3Click();  // decline from the high
  void Button4Click();  // rebound resistance
  void Button5Click();  // pullback support
  void Button6Click();  // clear
  void Button7Click();  // calculator
  void Button8Click();  // exit
  void Button9Click();  // Help
  void Button10Click(); // check for updates
  void Button11Click(); // ratio settings

  TChartWidget* Chart1() const { return chart1_; }
  chart::THorizBarSeries& Series1() const;
  QLabel* Label3() const { return label3_; }
  QGroupBox* GroupBox1() const { return groupBox1_; }
  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit2() const { return edit2_; }
  // Button1 ... Button11 by number.
  QPushButton* Button(int number) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Compute(ComputeMode mode);
  QPushButton* AddButton(int number, QWidget* parent, const QRect& geometry, std::string_view caption,
                         void (TMainForm::*handler)());

  TErrorReporter& reporter_;
  TShell& shell_;
  std::string settingsPath_;
  QWidget* about_ = nullptr;
  QWidget* help_ = nullptr;

  TChartWidget* chart1_;
  QLabel* label3_;
  QGroupBox* groupBox1_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QPushButton* buttons_[12] = {};
};

}  // namespace tavimo::app
