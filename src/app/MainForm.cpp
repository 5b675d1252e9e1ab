#include "app/MainForm.h"

#include <QAccessible>
#include <QAction>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QWheelEvent>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <memory>

#include "app/ChartWidget.h"
#include "app/ConfluenceForm.h"
#include "app/ErrorReporting.h"
#include "app/Fonts.h"
#include "app/KeyboardInput.h"
#include "app/UserFiles.h"
#include "app/LabelPlacement.h"
#include "app/MakerInfo.h"
#include "app/MenuItems.h"
#include "app/PriceChartWindow.h"
#include "app/Prompter.h"
#include "app/SharedTexts.h"
#include "app/Shell.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "settings/RatioPresets.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "platform/ProfileFile.h"
#include "chart/BarSeries.h"
#include "chart/Chart.h"
#include "chart/MainChart.h"
#include "chart/Series.h"
#include "regex/RatioTextPattern.h"

namespace tavimo::app {

namespace {
constexpr const char* kCaption = program::kMainWindowCaption;
constexpr int kOuterWidth = 605;
constexpr int kOuterHeight = 544;
// The user's presets the submenu lists itself; the rest are chosen from a list.
constexpr std::size_t kPresetsInMenu = 20;

// The copied levels are the chart's value marks.
static_assert(kLevelMarkPattern == std::string_view(chart::kDefaultValueFormat));

// The calculator's empty-box messages and their caption, as the window shows them.
const char* const kCalculatorTexts[] = {
    QT_TRANSLATE_NOOP("tavimo::app::TMainForm", "请输入低点数据！"),
    QT_TRANSLATE_NOOP("tavimo::app::TMainForm", "请输入高点数据！"),
    QT_TRANSLATE_NOOP("tavimo::app::TMainForm", "请输入低点和高点数据！"),
    QT_TRANSLATE_NOOP("tavimo::app::TMainForm", "错误"),
};

QString CalculatorText(std::string_view text) {
  const std::string key(text);
  return TMainForm::tr(key.c_str());
}

QColor ToQColor(chart::TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void SetBackground(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// Button2 ... Button5 compute in the modes' order.
int ComputeButtonNumber(ComputeMode mode) {
  switch (mode) {
    case ComputeMode::Rise: return 2;
    case ComputeMode::Decline: return 3;
    case ComputeMode::Resistance: return 4;
    case ComputeMode::Support: return 5;
    case ComputeMode::ProjectionUp:
    case ComputeMode::ProjectionDown: break;  // no button of their own
  }
  return 4;
}

void ShowInFront(QWidget* window) {
  if (!window) return;
  window->show();
  window->raise();
  window->activateWindow();
}

std::vector<std::string> PresetNames(const std::vector<RatioPreset>& presets) {
  std::vector<std::string> names;
  names.reserve(presets.size());
  for (const RatioPreset& preset : presets) names.push_back(preset.name);
  return names;
}

// "caption (key)", the way a tooltip tells a key.
QString WithKey(const QString& text, const QKeySequence& key) {
  return QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText));
}
}  // namespace

TMainForm::TMainForm(TErrorReporter& reporter, TShell& shell, std::string settingsPath)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      reporter_(reporter),
      shell_(shell),
      settingsPath_(std::move(settingsPath)),
      ratioText_(DefaultRatioText) {
  setWindowTitle(QString::fromUtf8(kCaption));
  setFont(ControlFont("MS Sans Serif", -11));
  SetBackground(this, ToQColor(chart::clWhite));
  resize(chart::kMainChartWidth, chart::kMainChartHeight);

  // Created first, so every other control lies above it.
  chart1_ = new TChartWidget(this);
  chart1_->setObjectName(QStringLiteral("Chart1"));
  chart1_->setGeometry(0, 0, chart::kMainChartWidth, chart::kMainChartHeight);
  chart1_->setAccessibleName(tr("价位图"));
  connect(chart1_, &TChartWidget::MenuRequested, this, &TMainForm::PopUpChartMenu);

  // The caption over the chart's left side, one character per line.
  const chart::TCaptionLabel& caption = chart::MainCaptionLabel();
  label3_ = new QLabel(tr("黄\n金\n分\n割\n点\n计\n算\n结\n果"), chart1_);
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
  groupBox1_ = new QGroupBox(tr("设置", "group box"), this);
  groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
  groupBox1_->setGeometry(8, 0, 345, 57);
  groupBox1_->setFont(fontA);
  SetBackground(groupBox1_, ToQColor(chart::clYellow));

  auto* label1 = new QLabel(LowCaption(), groupBox1_);
  label1->setObjectName(QStringLiteral("Label1"));
  label1->setFont(fontA);
  PlaceLabel(label1, QRect(8, 20, 26, 13));
  auto* label2 = new QLabel(HighCaption(), groupBox1_);
  label2->setObjectName(QStringLiteral("Label2"));
  label2->setFont(fontA);
  PlaceLabel(label2, QRect(120, 20, 26, 13));

  edit1_ = new QLineEdit(QStringLiteral("0"), groupBox1_);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setGeometry(40, 20, 70, 21);
  edit2_ = new QLineEdit(QStringLiteral("0"), groupBox1_);
  edit2_->setObjectName(QStringLiteral("Edit2"));
  edit2_->setGeometry(152, 20, 70, 21);
  for (QLineEdit* edit : {edit1_, edit2_}) {
    edit->installEventFilter(this);
    edit->setValidator(new TPriceBoxValidator(edit));
  }
  // The labels name the boxes for assistive technology.
  label1->setBuddy(edit1_);
  label2->setBuddy(edit2_);

  AddButton(6, groupBox1_, QRect(232, 20, 50, 25), tr("清空"), &TMainForm::Button6Click);
  AddButton(11, groupBox1_, QRect(288, 20, 50, 25), tr("设置", "button"), &TMainForm::Button11Click);
  AddButton(1, this, QRect(363, 20, 60, 25), tr("关于我"), &TMainForm::Button1Click);
  AddButton(9, this, QRect(439, 20, 50, 25), HelpCaption(), &TMainForm::Button9Click);
  AddButton(10, this, QRect(504, 20, 70, 25), tr("检查更新"), &TMainForm::Button10Click);
  AddButton(2, this, QRect(6, 463, 70, 25), ModeCaption(ComputeMode::Rise), &TMainForm::Button2Click);
  AddButton(3, this, QRect(106, 463, 70, 25), ModeCaption(ComputeMode::Decline), &TMainForm::Button3Click);
  // The button has room only for a shorter English name than the confluence window's.
  AddButton(4, this, QRect(206, 463, 70, 25), tr("反弹阻力"), &TMainForm::Button4Click);
  AddButton(5, this, QRect(305, 463, 70, 25), ModeCaption(ComputeMode::Support), &TMainForm::Button5Click);
  AddButton(7, this, QRect(405, 463, 70, 25), tr("计算器"), &TMainForm::Button7Click);
  AddButton(8, this, QRect(505, 463, 70, 25), tr("退出"), &TMainForm::Button8Click);

  // Tab order: the group box's controls first, then the window's buttons by their tab index.
  const QWidget* order[] = {edit1_,     edit2_,     buttons_[6], buttons_[11], buttons_[1],
                            buttons_[9], buttons_[8], buttons_[7], buttons_[5],  buttons_[4],
                            buttons_[3], buttons_[2], buttons_[10]};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i)
    setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
  edit1_->setFocus();

  // Keys. The compute commands' keys follow their buttons from left to right;
  // the buttons' tooltips tell them (the long names say what each computes).
  const struct {
    int button;
    Qt::Key key;
    const char* name;
  } computeKeys[] = {
      {2, Qt::Key_1, QT_TR_NOOP("低点上涨：从低点算起的上涨价位")},
      {3, Qt::Key_2, QT_TR_NOOP("高点下跌：从高点算起的下跌价位")},
      {4, Qt::Key_3, QT_TR_NOOP("反弹阻力：低点之上的反弹阻力位")},
      {5, Qt::Key_4, QT_TR_NOOP("回调支撑：高点之下的回调支撑位")},
  };
  for (const auto& compute : computeKeys) {
    const QKeySequence key(Qt::ALT | compute.key);
    QPushButton* button = buttons_[compute.button];
    button->setToolTip(WithKey(tr(compute.name), key));
    auto* action = new QAction(this);
    action->setShortcut(key);
    connect(action, &QAction::triggered, button, &QPushButton::click);
    addAction(action);
  }
  copyAction_ = AddCommand(tr("复制价位(&C)"), QKeySequence::Copy, &TMainForm::CopyLevels);
  openPriceAction_ = AddCommand(tr("价格图(&O)…"), QKeySequence::Open, &TMainForm::OpenPriceFileDialog);
  setAcceptDrops(true);
  savePictureAction_ = AddCommand(tr("保存图片(&S)…"), QKeySequence::Save, &TMainForm::SavePicture);
  resetViewAction_ = AddCommand(tr("复位视图(&R)"), {}, &TMainForm::ResetView);
  // Help opens from any of the program's windows.
  helpAction_ = AddCommand(tr("帮助(&H)"), QKeySequence::HelpContents, &TMainForm::Button9Click,
                           Qt::ApplicationShortcut);
  buttons_[9]->setToolTip(WithKey(HelpCaption(), QKeySequence(QKeySequence::HelpContents)));

  // The level settings of the chart's menu.
  priceTickAction_ = new QAction(tr("最小变动价位(&T)…"), this);
  ConnectGuarded(reporter_, priceTickAction_, &QAction::triggered, this, [this] { SetPriceTick(); });
  confluenceAction_ = new QAction(tr("多波段汇合(&W)…"), this);
  ConnectGuarded(reporter_, confluenceAction_, &QAction::triggered, this, [this] { ShowConfluence(); });
  logScaleAction_ = new QAction(tr("对数刻度(&L)"), this);
  logScaleAction_->setCheckable(true);
  logScaleAction_->setToolTip(tr("对数刻度只用于反弹阻力、回调支撑和起点投影"));
  connect(logScaleAction_, &QAction::triggered, this, [this](bool on) {
    reporter_.Guard([this, on] { SetLogScale(on); });
    // A refused or failed change leaves the item as the setting in effect.
    UpdateLevelSettingsActions();
  });
}

QPushButton* TMainForm::AddButton(int number, QWidget* parent, const QRect& geometry, const QString& caption,
                                  void (TMainForm::*handler)()) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QStringLiteral("Button%1").arg(number));
  button->setGeometry(geometry);
  button->setFont(FontA());
  button->setAutoDefault(false);
  button->setAccessibleName(caption);
  PressOnEnter(button);
  ConnectGuarded(reporter_, button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  buttons_[number] = button;
  return button;
}

QAction* TMainForm::AddCommand(const QString& text, const QKeySequence& key, void (TMainForm::*handler)(),
                               Qt::ShortcutContext context) {
  auto* action = new QAction(text, this);
  action->setShortcut(key);
  action->setShortcutContext(context);
  ConnectGuarded(reporter_, action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  addAction(action);
  return action;
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
  StoredSettings stored = LoadSettings(settingsPath_);
  // Levels of other ratios than the user stored must not pass silently.
  if (!stored.readError.empty())
    reporter_.Prompter().ShowMessage(this,
                                     tr("无法读取“%1”：%2；使用默认比例列表。")
                                         .arg(QString::fromStdString(settingsPath_),
                                              QString::fromStdString(stored.readError))
                                         .toStdString(),
                                     reporter_.Title(), TPromptIcon::Error);
  ratioText_ = std::move(stored.ratioText);
  levelSettings_ = stored.level;
  UpdateLevelSettingsActions();
  chart::AppendRatioBars(Series1(), CurrentRatioList());
  ShowUncomputed();
}

LevelView TMainForm::ViewLevels(const ShownComputation& computation, const LevelSettings& settings) {
  LevelPresentation presentation;
  if (!settings.tickText.empty()) presentation.tick.emplace(settings.tickText);
  presentation.scale = settings.scale;
  return tavimo::ViewLevels(
      ComputeRequest{computation.mode, computation.lowText, computation.highText, {}, LevelScale::Linear},
      CurrentRatioList(), presentation);
}

void TMainForm::Show(ShownComputation computation, LevelView view) {
  // The bars sit at the shown levels: with a tick those are the prices the marks name.
  std::vector<double> levels;
  std::vector<std::string> marks;
  for (const LevelRow& row : view.rows) {
    levels.push_back(row.level);
    if (view.tickedMarks) marks.push_back(row.mark);
  }
  chart::SetRatioBarLevels(Series1(), levels, std::move(marks));
  shownView_ = std::move(view);
  shown_ = std::move(computation);
  DescribeLevels();
  UpdateLevelSettingsActions();
}

void TMainForm::ShowUncomputed() {
  shown_.reset();
  shownView_ = ViewUncomputedLevels(CurrentRatioList());
  DescribeLevels();
  UpdateLevelSettingsActions();
}

void TMainForm::Compute(ComputeMode mode) {
  lastMode_ = mode;
  ShownComputation computation{mode, edit1_->text().toUtf8().toStdString(), edit2_->text().toUtf8().toStdString()};
  LevelView view = ViewLevels(computation, levelSettings_);
  if (view.emptyBoxMessage) {
    reporter_.Prompter().ShowMessage(this, CalculatorText(*view.emptyBoxMessage).toStdString(),
                                     CalculatorText(kEmptyBoxCaption).toStdString(), TPromptIcon::None);
    return;
  }
  Show(std::move(computation), std::move(view));
}

void TMainForm::ApplyLevelSettings(const LevelSettings& settings) {
  // Everything that can fail comes before anything changes.
  std::optional<LevelView> view;
  if (shown_) view = ViewLevels(*shown_, settings);
  if (settings.tickText != levelSettings_.tickText) SaveTickText(settings.tickText, settingsPath_);
  if (settings.scale != levelSettings_.scale) SaveLevelScale(settings.scale, settingsPath_);
  levelSettings_ = settings;
  if (view) Show(*shown_, std::move(*view));
  UpdateLevelSettingsActions();
  if (confluence_) confluence_->SetLevelSettings(levelSettings_);
}

void TMainForm::SetPriceTick() {
  const std::optional<std::string> answer = reporter_.Prompter().AskText(
      this, tr("最小变动价位").toStdString(), tr("价格的最小变动单位，如 0.01（留空则不取整）：").toStdString(),
      levelSettings_.tickText);
  if (!answer) return;
  const std::string text = QString::fromUtf8(*answer).trimmed().toUtf8().toStdString();
  if (text == levelSettings_.tickText) return;
  // Refused before anything is stored.
  if (!text.empty()) static_cast<void>(PriceTick(text));
  LevelSettings settings = levelSettings_;
  settings.tickText = text;
  ApplyLevelSettings(settings);
}

void TMainForm::SetLogScale(bool on) {
  LevelSettings settings = levelSettings_;
  settings.scale = on ? LevelScale::Log : LevelScale::Linear;
  if (settings == levelSettings_) return;
  ApplyLevelSettings(settings);
}

void TMainForm::UpdateLevelSettingsActions() {
  logScaleAction_->setChecked(levelSettings_.scale == LevelScale::Log);
  // Greyed out while rise or decline is shown: the scale does not apply to them.
  logScaleAction_->setEnabled(!shown_ || LogScaleApplies(shown_->mode));
}

void TMainForm::ShowConfluence() {
  if (!confluence_) {
    confluence_ = new TConfluenceForm(reporter_, this);
    confluence_->SetLevelSettings(levelSettings_);
    confluence_->PrefillWave(edit1_->text(), edit2_->text());
  }
  ShowInFront(confluence_);
}


void TMainForm::ShowWave(ComputeMode mode, const std::string& lowText, const std::string& highText) {
  edit1_->setText(QString::fromStdString(lowText));
  edit2_->setText(QString::fromStdString(highText));
  Compute(mode);
}

void TMainForm::Button2Click() { Compute(ComputeMode::Rise); }
void TMainForm::Button3Click() { Compute(ComputeMode::Decline); }
void TMainForm::Button4Click() { Compute(ComputeMode::Resistance); }
void TMainForm::Button5Click() { Compute(ComputeMode::Support); }

void TMainForm::Button6Click() {
  edit1_->setText(QStringLiteral("0"));
  edit2_->setText(QStringLiteral("0"));
  chart::ClearRatioBarLevels(Series1());
  ShowUncomputed();
}

void TMainForm::Button7Click() { shell_.StartCalculator(); }

void TMainForm::Button8Click() { close(); }

void TMainForm::Button1Click() { ShowInFront(about_); }
void TMainForm::Button9Click() { ShowInFront(help_); }

void TMainForm::Button10Click() { shell_.OpenAddress(maker::kUpdatePage); }

void TMainForm::Button11Click() {
  const std::string text = reporter_.Prompter().AskRatioText(this, ratioText_);
  // Cancel, or OK on the text in effect.
  if (text == ratioText_) return;
  if (RatioTextHasForbiddenCharacter(text)) {
    reporter_.Prompter().ShowMessage(this, tr("所输数据有错误，请重新设置").toStdString(), reporter_.Title(),
                                     TPromptIcon::None);
    return;
  }
  RequireStorableRatioText(text);
  ApplyRatioText(text);
}

void TMainForm::ApplyRatioText(const std::string& text) {
  ReplaceRatioList(SplitRatioText(text));
  chart::ReplaceRatioBars(Series1(), CurrentRatioList());
  // The new bars start at 0, with the marks' own texts.
  if (shownView_.tickedMarks) chart::ClearRatioBarLevels(Series1());
  ratioText_ = text;
  ShowUncomputed();
  if (confluence_) confluence_->Recompute();
  SaveRatioText(text, settingsPath_);
}

std::vector<LevelRow> TMainForm::LevelRows() const { return shownView_.rows; }

void TMainForm::CopyLevels() {
  const std::vector<LevelRow> rows = LevelRows();
  CopyTextAndHtml(FormatLevelRows(OutputFormat::Text, rows), LevelRowsHtmlTable(rows));
}

void TMainForm::ResetView() { chart1_->ResetView(); }

void TMainForm::DescribeLevels() {
  chart1_->setAccessibleDescription(QString::fromUtf8(FormatLevelRows(OutputFormat::Text, LevelRows())));
}

QMenu* TMainForm::ChartMenu() {
  if (!chartMenu_) {
    chartMenu_ = new QMenu(this);
    chartMenu_->setObjectName(QStringLiteral("ChartMenu"));
    AddMenuItems(chartMenu_, {copyAction_, savePictureAction_, resetViewAction_, nullptr, priceTickAction_,
                              logScaleAction_, confluenceAction_, nullptr, openPriceAction_});
    recentMenu_ = chartMenu_->addMenu(tr("最近的价格文件(&F)"));
    recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &TMainForm::FillRecentMenu);
    FillRecentMenu();
    chartMenu_->addSeparator();
    presetsMenu_ = chartMenu_->addMenu(tr("比例预设(&P)"));
    presetsMenu_->setObjectName(QStringLiteral("PresetsMenu"));
    presetsMenu_->setToolTipsVisible(true);
    connect(presetsMenu_, &QMenu::aboutToShow, this, &TMainForm::FillPresetsMenu);
    chartMenu_->addSeparator();
    chartMenu_->addAction(helpAction_);
  }
  return chartMenu_;
}

namespace {
constexpr std::string_view kRecentSection = "recent";

std::string RecentKey(std::size_t i) { return std::to_string(i + 1); }

// Two paths name the same file when they resolve to the same place.
std::string Identity(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}
}  // namespace

std::vector<std::string> TMainForm::RecentPriceFiles() const {
  static_assert(kRecentFiles == 5);
  const platform::ProfileValues read = platform::ReadProfileValues(settingsPath_, kRecentSection, {"1", "2", "3", "4", "5"});
  std::vector<std::string> files;
  for (const std::optional<std::string>& value : read.values)
    if (value && !value->empty()) files.push_back(*value);
  return files;
}

void TMainForm::RememberPriceFile(const std::string& path) {
  std::vector<std::string> files = RecentPriceFiles();
  const std::string identity = Identity(path);
  std::erase_if(files, [&](const std::string& f) { return Identity(f) == identity; });
  // Absolute, so a file named relative to one working directory opens from any.
  files.insert(files.begin(), identity);
  if (files.size() > kRecentFiles) files.resize(kRecentFiles);
  for (std::size_t i = 0; i < kRecentFiles; ++i) {
    if (i < files.size()) StoreSetting(settingsPath_, kRecentSection, RecentKey(i), files[i]);
    else RemoveSetting(settingsPath_, kRecentSection, RecentKey(i));
  }
}

void TMainForm::FillRecentMenu() {
  recentMenu_->clear();
  const std::vector<std::string> files = RecentPriceFiles();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const QString path = QString::fromStdString(files[i]);
    QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
    action->setToolTip(path);
    ConnectGuarded(reporter_, action, &QAction::triggered, this, [this, file = files[i]] { OpenPriceFile(file); });
  }
  recentMenu_->setEnabled(!files.empty());
}

std::vector<TPriceChartWindow*> TMainForm::PriceWindows() const {
  std::vector<TPriceChartWindow*> windows;
  for (const QPointer<TPriceChartWindow>& window : priceWindows_)
    if (window) windows.push_back(window.data());
  return windows;
}

TPriceChartWindow* TMainForm::OpenPriceFile(const std::string& path, std::optional<PriceFileRead> read) {
  const std::string identity = Identity(path);
  for (TPriceChartWindow* window : PriceWindows())
    if (Identity(window->Path()) == identity) {
      ShowInFront(window);
      RememberPriceFile(path);
      return window;
    }
  TPriceChartWindow* window = TPriceChartWindow::Open(reporter_, *this, settingsPath_, path, std::move(read));
  if (!window) return nullptr;
  std::erase_if(priceWindows_, [](const QPointer<TPriceChartWindow>& w) { return w.isNull(); });
  priceWindows_.emplace_back(window);
  lastPriceDirectory_ = QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
  ShowInFront(window);
  RememberPriceFile(path);
  return window;
}

void TMainForm::OpenPriceFileDialog() {
  if (lastPriceDirectory_.empty()) {
    const std::vector<std::string> recent = RecentPriceFiles();
    lastPriceDirectory_ = recent.empty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString()
                                         : QFileInfo(QString::fromStdString(recent.front())).absolutePath().toStdString();
  }
  const std::optional<std::string> path =
      reporter_.Prompter().AskPriceFilePath(this, tr("打开价格文件").toStdString(), lastPriceDirectory_);
  if (path) OpenPriceFile(*path);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
    event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) reporter_.Guard([this, file = url.toLocalFile().toStdString()] { OpenPriceFile(file); });
  event->acceptProposedAction();
}

void TMainForm::FillPresetsMenu() {
  presetsMenu_->clear();
  // Each preset shows its list as its tooltip and is checked while in effect.
  const auto addPreset = [this](const QString& name, const std::string& text) {
    QAction* action = presetsMenu_->addAction(name);
    action->setToolTip(QString::fromStdString(text));
    action->setCheckable(true);
    action->setChecked(text == ratioText_);
    ConnectGuarded(reporter_, action, &QAction::triggered, this, [this, text] { ChoosePreset(text); });
  };
  const auto addCommand = [this](const QString& text, auto command) {
    QAction* action = presetsMenu_->addAction(text);
    ConnectGuarded(reporter_, action, &QAction::triggered, this, std::move(command));
    return action;
  };
  for (BuiltInPreset preset : kBuiltInPresets) {
    static const char* const kNames[] = {QT_TR_NOOP("默认比例"), QT_TR_NOOP("经典回撤"), QT_TR_NOOP("扩展比例"),
                                         QT_TR_NOOP("三分法")};
    addPreset(tr(kNames[static_cast<int>(preset)]), std::string(BuiltInPresetText(preset)));
  }
  // The file is read once per opening; the items below choose from and
  // delete what this opening read.
  const auto own = std::make_shared<const std::vector<RatioPreset>>(ReadUserPresets(settingsPath_));
  if (!own->empty()) presetsMenu_->addSeparator();
  for (std::size_t i = 0; i < own->size() && i < kPresetsInMenu; ++i)
    addPreset(QString::fromStdString((*own)[i].name), (*own)[i].text);
  // Past that many, all of them are offered in a list with a filter: a menu
  // of thousands takes seconds to build and shows only what fits on the screen.
  if (own->size() > kPresetsInMenu) addCommand(tr("更多…"), [this, own] { ChooseUserPreset(*own); });
  presetsMenu_->addSeparator();
  addCommand(tr("将当前比例存为预设(&A)…"), [this] { SavePresetAs(); });
  addCommand(tr("删除预设(&D)…"), [this, own] { DeleteOneOf(*own); })->setEnabled(!own->empty());
}

void TMainForm::ChoosePreset(const std::string& text) {
  if (text == ratioText_) return;
  ApplyRatioText(text);
}

void TMainForm::ChooseUserPreset(const std::vector<RatioPreset>& presets) {
  if (presets.empty()) return;
  const std::optional<std::string> name = reporter_.Prompter().AskChoice(
      this, tr("选择预设").toStdString(), tr("要使用的预设：").toStdString(), PresetNames(presets));
  if (!name) return;
  const auto chosen =
      std::find_if(presets.begin(), presets.end(), [&](const RatioPreset& preset) { return preset.name == *name; });
  if (chosen != presets.end()) ChoosePreset(chosen->text);
}

void TMainForm::SavePresetAs() {
  const std::optional<std::string> answer =
      reporter_.Prompter().AskText(this, tr("存为预设").toStdString(), tr("当前比例的预设名称：").toStdString(), {});
  if (!answer) return;
  const std::string name = QString::fromStdString(*answer).trimmed().toStdString();
  if (!IsValidPresetName(name)) {
    reporter_.Prompter().ShowMessage(this, tr("预设名称不能为空，不能含有“=”，也不能以“;”或“[”开头").toStdString(),
                                     reporter_.Title(), TPromptIcon::None);
    return;
  }
  SaveUserPreset(name, ratioText_, settingsPath_);
}

void TMainForm::DeletePreset() { DeleteOneOf(ReadUserPresets(settingsPath_)); }

void TMainForm::DeleteOneOf(const std::vector<RatioPreset>& presets) {
  if (presets.empty()) return;
  const std::optional<std::string> name = reporter_.Prompter().AskChoice(
      this, tr("删除预设").toStdString(), tr("要删除的预设：").toStdString(), PresetNames(presets));
  if (name) DeleteUserPreset(*name, settingsPath_);
}

void TMainForm::SavePicture() {
  if (lastPicturePath_.empty())
    lastPicturePath_ = SuggestedSavePath(QStandardPaths::PicturesLocation, QStringLiteral("tavimo.png"));
  const std::optional<std::string> path =
      reporter_.Prompter().AskPicturePath(this, tr("保存图片").toStdString(), lastPicturePath_);
  if (!path) return;
  lastPicturePath_ = *path;
  SaveUserPicture(*path, chart1_->Picture());
}

void TMainForm::PopUpChartMenu(const QPoint& globalPosition) { ChartMenu()->popup(globalPosition); }

void TMainForm::contextMenuEvent(QContextMenuEvent* event) {
  // The menu key opens the chart's menu wherever the focus is, unless the
  // focused control has a menu of its own (the price boxes do).
  if (event->reason() == QContextMenuEvent::Keyboard) {
    PopUpChartMenu(chart1_->mapToGlobal(chart1_->rect().center()));
    event->accept();
    return;
  }
  QWidget::contextMenuEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == edit1_ || watched == edit2_) && event->type() == QEvent::KeyPress) {
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == edit1_) {
        // The carriage return is swallowed: nothing is typed, the focus moves on.
        edit2_->setFocus(Qt::OtherFocusReason);
      } else {
        // In the high box it runs the compute command used last.
        buttons_[ComputeButtonNumber(lastMode_)]->click();
      }
      return true;
    }
    // Ctrl+C copies the box's selection when there is one, the levels otherwise.
    if (keyEvent->matches(QKeySequence::Copy) && !static_cast<QLineEdit*>(watched)->hasSelectedText()) {
      copyAction_->trigger();
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
