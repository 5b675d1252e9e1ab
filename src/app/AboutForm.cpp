#include "app/AboutForm.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "app/FixedDialog.h"
#include "app/Fonts.h"
#include "app/KeyboardInput.h"
#include "app/LabelPlacement.h"
#include "app/MakerInfo.h"
#include "app/Shell.h"

namespace tavimo::app {

namespace {
// The client area, at its place on the screen.
constexpr QRect kDesigned(382, 214, 408, 374);

// Nine lines about the maker and what the maker offers.
QString MakerText() {
  return TForm5::tr(
             "%1：编写炒股理财小工具的工作室。\n"
             "软件力求小巧好用，不用安装。\n"
             "本工作室提供以下服务：\n"
             "1．定制股票分析公式和看盘工具；\n"
             "2．把手工计算表格做成软件；\n"
             "3．网站建设、小型数据库开发；\n"
             "4．电脑常见问题的远程协助。\n"
             "欢迎通过QQ或邮箱与我们联系，\n"
             "有意见和建议也请告诉我们！")
      .arg(QString::fromUtf8(maker::kName));
}

TClickLabel* AddLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                      int fontHeight, bool bold = false) {
  auto* label = new TClickLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(ControlFont("宋体", fontHeight, bold));
  label->setGeometry(geometry);
  return label;
}

void MakeLink(TClickLabel* label) {
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
}
}  // namespace

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

std::string TForm5::WebPageAddress() { return maker::kWebPage; }
std::string TForm5::MailAddress() { return std::string("mailto:") + maker::kEmail; }
std::string TForm5::ChatAddress() {
  const std::string site = QUrl(QString::fromUtf8(maker::kWebPage)).host().toStdString();
  return std::string("tencent://message/?Menu=yes&uin=") + maker::kQQ + "&Site=" + site;
}
std::string TForm5::UpdateAddress() { return maker::kAboutUpdatePage; }

TForm5::TForm5(QWidget* owner, TShell& shell)
    : QWidget(owner, kFixedDialogFlags), shell_(shell) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(tr("关于"));
  setFont(ControlFont("宋体", -11));
  PlaceFixedDialog(this, kDesigned);

  auto* image1 = new TClickLabel(this);
  image1->setObjectName(QStringLiteral("Image1"));
  image1->setGeometry(16, 16, 65, 65);
  image1->setPixmap(QPixmap(QStringLiteral(":/tavimo/tavimo.png")));
  image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  connect(image1, &TClickLabel::clicked, this, &TForm5::Image1Click);

  AddLabel(this, "Label1", QRect(104, 16, 231, 33), QStringLiteral("Tavimo"), -32, true);
  AddLabel(this, "Label2", QRect(112, 56, 144, 16), QStringLiteral("produced by ") + QString::fromUtf8(maker::kName),
           -16);
  AddLabel(this, "Label4", QRect(120, 80, 56, 16), tr("版本%1").arg(QString::fromUtf8(program::kVersion)), -16);
  // The parentheses hug the link between them, whatever their width.
  AddLabel(this, "Label12", QRect(184, 80, 16, 16), tr("（"), -16)->setAlignment(Qt::AlignRight | Qt::AlignTop);
  auto* label11 = AddLabel(this, "Label11", QRect(200, 80, 64, 16), tr("查看更新"), -16);
  MakeLink(label11);
  connect(label11, &TClickLabel::clicked, this, &TForm5::Label11Click);
  AddLabel(this, "Label13", QRect(264, 80, 16, 16), tr("）"), -16);

  AddLabel(this, "Label3", QRect(88, 104, 39, 15), tr("QQ号:"), -15);
  auto* label7 = AddLabel(this, "Label7", QRect(136, 104, 72, 15), QString::fromUtf8(maker::kQQ), -15);
  MakeLink(label7);
  connect(label7, &TClickLabel::clicked, this, &TForm5::Label7Click);
  AddLabel(this, "Label10", QRect(216, 104, 60, 15), QString::fromUtf8(maker::kCity), -15);

  AddLabel(this, "Label5", QRect(90, 128, 38, 15), tr("邮箱:"), -15);
  auto* label8 = AddLabel(this, "Label8", QRect(136, 128, 128, 15), QString::fromUtf8(maker::kEmail), -15);
  MakeLink(label8);
  connect(label8, &TClickLabel::clicked, this, &TForm5::Label8Click);

  AddLabel(this, "Label6", QRect(90, 152, 38, 15), tr("博客:"), -15);
  auto* label9 = AddLabel(this, "Label9", QRect(136, 152, 200, 15), QString::fromUtf8(maker::kWebPage), -15);
  MakeLink(label9);
  connect(label9, &TClickLabel::clicked, this, &TForm5::Label9Click);

  auto* groupBox1 = new QGroupBox(tr("关于我"), this);
  groupBox1->setObjectName(QStringLiteral("GroupBox1"));
  groupBox1->setGeometry(40, 168, 329, 161);
  groupBox1->setFont(ControlFont("宋体", -13));
  memo1_ = new QPlainTextEdit(MakerText(), groupBox1);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setGeometry(2, 15, 325, 144);
  // Tab leaves the memo for the OK button instead of typing a tab.
  memo1_->setTabChangesFocus(true);

  button1_ = new QPushButton(tr("确定"), this);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setGeometry(136, 336, 89, 33);
  button1_->setFont(ControlFont("宋体", -16));
  connect(button1_, &QPushButton::clicked, this, &TForm5::Button1Click);
  PressOnEnter(button1_);

  setTabOrder(button1_, memo1_);

  CloseOnEscape(this);
}

void TForm5::showEvent(QShowEvent* event) {
  // Measuring the labels' texts loads their fonts; that waits until the
  // window is first shown instead of slowing start-up.
  if (!labelsPlaced_) {
    labelsPlaced_ = true;
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
      if (label->objectName() != QStringLiteral("Image1")) PlaceLabel(label, label->geometry());
  }
  // Each opening starts on OK, so Return closes the window and Tab reaches the memo.
  button1_->setFocus(Qt::OtherFocusReason);
  QWidget::showEvent(event);
}

void TForm5::Button1Click() { close(); }
void TForm5::Image1Click() { shell_.OpenAddress(WebPageAddress()); }
void TForm5::Label9Click() { shell_.OpenAddress(WebPageAddress()); }
void TForm5::Label8Click() { shell_.OpenAddress(MailAddress()); }
void TForm5::Label7Click() { shell_.OpenAddress(ChatAddress()); }
void TForm5::Label11Click() { shell_.OpenAddress(UpdateAddress()); }

}  // namespace tavimo::app
