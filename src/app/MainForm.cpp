#include "app/MainForm.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWheelEvent>

#include "app/ChartWidget.h"
#include "app/ErrorReporting.h"
#include "app/Fonts.h"
#include "app/LabelPlacement.h"
#include "app/MakerInfo.h"
#include "app/Prompter.h"
#include "app/Shell.h"
#include "calc/RatioList.h"
#include "calc/SettingsFile.h"
#include "chart/Chart.h"
#include "chart/MainChart.h"
#include "regex/RatioTextPattern.h"

namespace tavimo::app {

namespace {
constexpr const char* kCaption = program::kMainWindowCaption;
constexpr int kOuterWidth = 605;
constexpr int kOuterHeight = 544;
constexpr const char* kRefusedRatioText = "所输数据有错误，请重新设置";

QColor ToQColor(chart::TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void SetBackground(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}
}  // namespace

TMainForm::TMainForm(TErrorReporter& reporter, TShell& shell, std::string settingsPath)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      reporter_(reporter),
      shell_(shell),
      settingsPath_(std::move(settingsPath)) {
  setWindowTitle(QString::fromUtf8(kCaption));
  setFont(ControlFont("MS Sans Serif", -11));
  SetBackground(this, ToQColor(chart::clWhite));
  resize(chart::kMainChartWidth, chart::kMainChartHeight);

  // Created first, so every other control lies above it.
  chart1_ = new TChartWidget(this);
  chart1_->setObjectName(QStringLiteral("Chart1"));
  chart1_->setGeometry(0, 0, chart::kMainChartWidth, chart::kMainChartHeight);

  // The caption over the chart's left side, one character per line.
  const chart::TCaptionLabel& caption = chart::MainCaptionLabel();
  label3_ = new QLabel(QString::fromUtf8(caption.caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), chart1_);
  label3_->setObjectName(QStringLiteral("Label3"));
  label3_->setFont(ControlFont(caption.font.face, caption.font.height, caption.font.bold));
  PlaceLabel(label3_, QRect(caption.left, caption.top, caption.width, caption.height));
  label3_->setAutoFillBackground(!caption.transparent);
  label3_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  {
    QPalette palette = label3_->palette();
    palette.setColor(QPalette::WindowText, ToQColor(caption.font.color));
    label3_->setPalette(palette);
  }

  const QFont fontA = FontA();
  groupBox1_ = new QGroupBox(QString::fromUtf8("设置"), this);
  groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
  groupBox1_->setGeometry(8, 0, 345, 57);
  groupBox1_->setFont(fontA);
  SetBackground(groupBox1_, ToQColor(chart::clYellow));

  auto* label1 = new QLabel(QString::fromUtf8("低点"), groupBox1_);
  label1->setObjectName(QStringLiteral("Label1"));
  label1->setFont(fontA);
  PlaceLabel(label1, QRect(8, 20, 26, 13));
  auto* label2 = new QLabel(QString::fromUtf8("高点"), groupBox1_);
  label2->setObjectName(QStringLiteral("Label2"));
  label2->setFont(fontA);
  PlaceLabel(label2, QRect(120, 20, 26, 13));

  edit1_ = new QLineEdit(QStringLiteral("0"), groupBox1_);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setGeometry(40, 20, 70, 21);
  edit1_->installEventFilter(this);
  edit2_ = new QLineEdit(QStringLiteral("0"), groupBox1_);
  edit2_->setObjectName(QStringLiteral("Edit2"));
  edit2_->setGeometry(152, 20, 70, 21);

  AddButton(6, groupBox1_, QRect(232, 20, 50, 25), "清空", &TMainForm::Button6Click);
  AddButton(11, groupBox1_, QRect(288, 20, 50, 25), "设置", &TMainForm::Button11Click);
  AddButton(1, this, QRect(363, 20, 60, 25), "关于我", &TMainForm::Button1Click);
  AddButton(9, this, QRect(439, 20, 50, 25), "帮助", &TMainForm::Button9Click);
  AddButton(10, this, QRect(504, 20, 70, 25), "检查更新", &TMainForm::Button10Click);
  AddButton(2, this, QRect(6, 463, 70, 25), ComputeButtonCaption(ComputeMode::Rise), &TMainForm::Button2Click);
  AddButton(3, this, QRect(106, 463, 70, 25), ComputeButtonCaption(ComputeMode::Decline), &TMainForm::Button3Click);
  AddButton(4, this, QRect(206, 463, 70, 25), ComputeButtonCaption(ComputeMode::Resistance),
            &TMainForm::Button4Click);
  AddButton(5, this, QRect(305, 463, 70, 25), ComputeButtonCaption(ComputeMode::Support), &TMainForm::Button5Click);
  AddButton(7, this, QRect(405, 463, 70, 25), "计算器", &TMainForm::Button7Click);
  AddButton(8, this, QRect(505, 463, 70, 25), "退出", &TMainForm::Button8Click);

  // Tab order: the group box's controls first, then the window's buttons by their tab index.
  const QWidget* order[] = {edit1_,     edit2_,     buttons_[6], buttons_[11], buttons_[1],
                            buttons_[9], buttons_[8], buttons_[7], buttons_[5],  buttons_[4],
                            buttons_[3], buttons_[2], buttons_[10]};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i)
    setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
  edit1_->setFocus();
}

QPushButton* TMainForm::AddButton(int number, QWidget* parent, const QRect& geometry, std::string_view caption,
                                  void (TMainForm::*handler)()) {
  auto* button = new QPushButton(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), parent);
  button->setObjectName(QStringLiteral("Button%1").arg(number));
  button->setGeometry(geometry);
  button->setFont(FontA());
  button->setAutoDefault(false);
  // The window's own guard: an exception from a command ends it here,
  // before it can unwind through the button's signal machinery.
  connect(button, &QPushButton::clicked, this, [this, handler] { reporter_.Guard([this, handler] { (this->*handler)(); }); });
  buttons_[number] = button;
  return button;
}

QPushButton* TMainForm::Button(int number) const {
  return number >= 1 && number <= 11 ? buttons_[number] : nullptr;
}

chart::THorizBarSeries& TMainForm::Series1() const { return chart::MainSeries(chart1_->Chart()); }

void TMainForm::SetSecondaryWindows(QWidget* about, QWidget* help) {
  about_ = about;
  help_ = help;
}

void TMainForm::PlaceCentred() {
  const QScreen* screen = this->screen();
  if (!screen) return;
  const QRect desktop = screen->geometry();
  move(desktop.left() + (desktop.width() - kOuterWidth) / 2, desktop.top() + (desktop.height() - kOuterHeight) / 2);
}

void TMainForm::FormCreate() {
  LoadRatioList(settingsPath_);
  chart::AppendRatioBars(Series1(), CurrentRatioList());
}

void TMainForm::Compute(ComputeMode mode) {
  const std::string low = edit1_->text().toUtf8().toStdString();
  const std::string high = edit2_->text().toUtf8().toStdString();
  const ComputeOutcome outcome = RunCompute(mode, low, high, CurrentRatioList());
  if (outcome.emptyBoxMessage) {
    reporter_.Prompter().ShowMessage(this, std::string(*outcome.emptyBoxMessage), std::string(kEmptyBoxCaption),
                                     TPromptIcon::None);
    return;
  }
  chart::SetRatioBarLevels(Series1(), outcome.levels);
}

void TMainForm::Button2Click() { Compute(ComputeMode::Rise); }
void TMainForm::Button3Click() { Compute(ComputeMode::Decline); }
void TMainForm::Button4Click() { Compute(ComputeMode::Resistance); }
void TMainForm::Button5Click() { Compute(ComputeMode::Support); }

void TMainForm::Button6Click() {
  edit1_->setText(QStringLiteral("0"));
  edit2_->setText(QStringLiteral("0"));
  chart::ClearRatioBarLevels(Series1());
}

void TMainForm::Button7Click() { shell_.StartCalculator(); }

void TMainForm::Button8Click() { close(); }

namespace {
void ShowInFront(QWidget* window) {
  if (!window) return;
  window->show();
  window->raise();
  window->activateWindow();
}
}  // namespace

void TMainForm::Button1Click() { ShowInFront(about_); }
void TMainForm::Button9Click() { ShowInFront(help_); }

void TMainForm::Button10Click() { shell_.OpenAddress(maker::kUpdatePage); }

void TMainForm::Button11Click() {
  const std::string text = reporter_.Prompter().AskRatioText(this, std::string(DefaultRatioText));
  if (text == DefaultRatioText) return;
  if (RatioTextHasForbiddenCharacter(text)) {
    reporter_.Prompter().ShowMessage(this, kRefusedRatioText, reporter_.Title(), TPromptIcon::None);
    return;
  }
  ReplaceRatioList(SplitRatioText(text));
  chart::ReplaceRatioBars(Series1(), CurrentRatioList());
  SaveRatioText(text, settingsPath_);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // The carriage return is swallowed: nothing is typed, the focus moves on.
      edit2_->setFocus(Qt::OtherFocusReason);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  // The chart fills the client area; every other control keeps its place.
  chart1_->setGeometry(rect());
  QWidget::resizeEvent(event);
}

void TMainForm::wheelEvent(QWheelEvent* event) {
  // Wheel input goes to the focused control; the chart takes it from here
  // when it arrived over another control while the chart had the focus.
  if (chart1_->hasFocus()) {
    chart1_->ForwardWheel(event);
    return;
  }
  QWidget::wheelEvent(event);
}

}  // namespace tavimo::app
