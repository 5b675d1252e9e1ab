#include "app/ConfluenceForm.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ErrorReporting.h"
#include "app/KeyboardInput.h"
#include "app/Prompter.h"
#include "app/SharedTexts.h"
#include "app/UserFiles.h"
#include "confluence/Confluence.h"
#include "confluence/ConfluenceInput.h"
#include "calc/PriceTick.h"
#include "calc/RatioList.h"
#include "runtime/Exceptions.h"

namespace tavimo::app {

namespace {
// The cell a row's problem names.
QString CellCaption(WaveCell cell) {
  switch (cell) {
    case WaveCell::Low: return LowCaption();
    case WaveCell::High: return HighCaption();
    case WaveCell::From: break;
  }
  return TConfluenceForm::tr("起点 C");
}

// The waves' cells are committed as they are typed, so the zones follow
// every keystroke rather than the end of an edit.
class TLiveCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      connect(edit, &QLineEdit::textEdited, this,
              [this, edit] { const_cast<TLiveCellDelegate*>(this)->commitData(edit); });
    }
    return editor;
  }
};

QTableWidgetItem* ReadOnlyItem(const QString& text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setTextAlignment(alignment);
  return item;
}

std::string CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text().trimmed().toUtf8().toStdString() : std::string();
}
}  // namespace

TConfluenceForm::TConfluenceForm(TErrorReporter& reporter, QWidget* owner)
    : QWidget(owner, Qt::Window), reporter_(reporter) {
  setObjectName(QStringLiteral("ConfluenceForm"));
  setWindowTitle(tr("多波段汇合"));

  // The waves.
  auto* wavesLabel = new QLabel(tr("波段(&B)"), this);
  waves_ = new QTableWidget(2, 4, this);
  waves_->setObjectName(QStringLiteral("WavesTable"));
  waves_->setAccessibleName(tr("波段表"));
  waves_->setHorizontalHeaderLabels({LowCaption(), HighCaption(), tr("起点 C（可选）"), tr("标注")});
  waves_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  waves_->setItemDelegate(new TLiveCellDelegate(waves_));
  waves_->setSelectionBehavior(QAbstractItemView::SelectItems);
  waves_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  waves_->setMinimumHeight(waves_->verticalHeader()->defaultSectionSize() * 4);
  wavesLabel->setBuddy(waves_);
  auto* add = new QPushButton(tr("添加波段(&A)"), this);
  auto* remove = new QPushButton(tr("删除波段(&D)"), this);
  for (QPushButton* button : {add, remove}) {
    button->setAutoDefault(false);
    PressOnEnter(button);
  }
  ConnectGuarded(reporter_, add, &QPushButton::clicked, this, [this] { AddWave(); });
  ConnectGuarded(reporter_, remove, &QPushButton::clicked, this, [this] { RemoveWave(); });
  auto* waveButtons = new QVBoxLayout;
  waveButtons->addWidget(add);
  waveButtons->addWidget(remove);
  waveButtons->addStretch();
  auto* wavesRow = new QHBoxLayout;
  wavesRow->addWidget(waves_, 1);
  wavesRow->addLayout(waveButtons);

  // The modes, the tolerance and the minimum number of waves.
  auto* modesBox = new QGroupBox(tr("计入的价位"), this);
  auto* modesGrid = new QGridLayout(modesBox);
  for (std::size_t i = 0; i < kAllComputeModes.size(); ++i) {
    const ComputeMode mode = kAllComputeModes[i];
    auto* box = new QCheckBox(ModeCaption(mode), modesBox);
    box->setObjectName(QString::fromLatin1(ComputeModeName(mode).data(), ComputeModeName(mode).size()));
    box->setChecked(!IsSingleAnchorMode(mode));
    connect(box, &QCheckBox::toggled, this, &TConfluenceForm::Recompute);
    // Two per row: rise and decline, resistance and support, the projections.
    modesGrid->addWidget(box, static_cast<int>(i / 2), static_cast<int>(i % 2));
    modeBoxes_[mode] = box;
  }
  auto* optionsBox = new QGroupBox(tr("汇合条件"), this);
  auto* options = new QFormLayout(optionsBox);
  tolerance_ = new QLineEdit(QStringLiteral("0.5"), optionsBox);
  tolerance_->setObjectName(QStringLiteral("Tolerance"));
  tolerance_->setAccessibleName(tr("容差（%）"));
  connect(tolerance_, &QLineEdit::textChanged, this, &TConfluenceForm::Recompute);
  minWaves_ = new QSpinBox(optionsBox);
  minWaves_->setObjectName(QStringLiteral("MinWaves"));
  minWaves_->setAccessibleName(tr("最少波段数"));
  minWaves_->setRange(0, 99);
  minWaves_->setSpecialValueText(tr("自动"));
  minWaves_->setValue(0);
  connect(minWaves_, &QSpinBox::valueChanged, this, &TConfluenceForm::Recompute);
  options->addRow(tr("容差（%）(&T)"), tolerance_);
  options->addRow(tr("最少波段数(&M)"), minWaves_);
  auto* settingsRow = new QHBoxLayout;
  settingsRow->addWidget(modesBox, 2);
  settingsRow->addWidget(optionsBox, 1);

  // The zones.
  auto* zonesLabel = new QLabel(tr("汇合区(&Z)"), this);
  zones_ = new QTableWidget(0, 5, this);
  zones_->setObjectName(QStringLiteral("ZonesTable"));
  zones_->setAccessibleName(tr("汇合区表"));
  zones_->setHorizontalHeaderLabels({tr("低端"), tr("高端"), tr("波段数"), tr("价位数"), tr("构成")});
  zones_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  zones_->setSelectionBehavior(QAbstractItemView::SelectRows);
  zones_->setTabKeyNavigation(false);
  // The members wrap, so a zone's whole make-up shows without a tooltip.
  zones_->setWordWrap(true);
  zones_->verticalHeader()->setVisible(false);
  zones_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  zones_->horizontalHeader()->setStretchLastSection(true);
  for (int column = 0; column < 4; ++column)
    zones_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  zonesLabel->setBuddy(zones_);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setAccessibleName(tr("状态"));
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  copy_ = new QPushButton(tr("复制(&C)"), this);
  export_ = new QPushButton(tr("导出 CSV(&E)…"), this);
  auto* close = new QPushButton(tr("关闭"), this);
  for (QPushButton* button : {copy_, export_, close}) {
    button->setAutoDefault(false);
    PressOnEnter(button);
  }
  ConnectGuarded(reporter_, copy_, &QPushButton::clicked, this, [this] { CopyZones(); });
  ConnectGuarded(reporter_, export_, &QPushButton::clicked, this, [this] { ExportCsv(); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copy_);
  buttons->addWidget(export_);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(wavesLabel);
  layout->addLayout(wavesRow, 2);
  layout->addLayout(settingsRow);
  layout->addWidget(zonesLabel);
  layout->addWidget(zones_, 3);
  layout->addWidget(status_);
  layout->addLayout(buttons);

  // Ctrl+C copies the zones unless an edit box has a selection to copy.
  auto* copyAction = new QAction(this);
  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setShortcutContext(Qt::WindowShortcut);
  ConnectGuarded(reporter_, copyAction, &QAction::triggered, this, [this] { CopyZones(); });
  addAction(copyAction);
  CloseOnEscape(this);

  connect(waves_, &QTableWidget::itemChanged, this, &TConfluenceForm::Recompute);
  resize(720, 620);
  waves_->setFocus();
  Recompute();
}

void TConfluenceForm::SetLevelSettings(const LevelSettings& settings) {
  settings_ = settings;
  Recompute();
}

void TConfluenceForm::PrefillWave(const QString& low, const QString& high) {
  const bool cleared = (low.isEmpty() || low == QStringLiteral("0")) && (high.isEmpty() || high == QStringLiteral("0"));
  if (cleared || !CellText(waves_, 0, LowColumn).empty() || !CellText(waves_, 0, HighColumn).empty()) return;
  {
    const QSignalBlocker block(waves_);
    waves_->setItem(0, LowColumn, new QTableWidgetItem(low));
    waves_->setItem(0, HighColumn, new QTableWidgetItem(high));
  }
  Recompute();
}

void TConfluenceForm::AddWave() {
  waves_->insertRow(waves_->rowCount());
  waves_->setCurrentCell(waves_->rowCount() - 1, LowColumn);
  waves_->setFocus();
}

void TConfluenceForm::RemoveWave() {
  if (waves_->rowCount() <= 1) {
    const QSignalBlocker block(waves_);
    waves_->clearContents();
  } else {
    const int row = waves_->currentRow() >= 0 ? waves_->currentRow() : waves_->rowCount() - 1;
    waves_->removeRow(row);
  }
  Recompute();
}

void TConfluenceForm::Recompute() {
  if (!copy_) return;  // still being built

  std::vector<WaveRowTexts> rows;
  for (int row = 0; row < waves_->rowCount(); ++row)
    rows.push_back({CellText(waves_, row, LowColumn), CellText(waves_, row, HighColumn),
                    CellText(waves_, row, FromColumn)});
  ConfluenceOptions options;
  for (ComputeMode mode : kAllComputeModes)
    if (modeBoxes_.at(mode)->isChecked()) options.modes.push_back(mode);
  options.scale = settings_.scale;
  // A price at or below zero is a row's problem only where a mode takes the
  // log scale, as it would end the whole sweep there.
  const bool anyLogMode = std::any_of(options.modes.begin(), options.modes.end(), [&](ComputeMode mode) {
    return ScaleForMode(settings_.scale, mode) == LevelScale::Log;
  });
  const ConfluenceInput input = ReadConfluenceWaves(rows, anyLogMode ? LevelScale::Log : LevelScale::Linear);

  QStringList notes;
  if (!input.problems.empty()) {
    const WaveRowProblem& first = input.problems.front();
    const QString cell = CellCaption(first.cell);
    const int row = static_cast<int>(first.row) + 1;
    QString note = first.message.empty()
                       ? tr("第 %1 行的%2为空，该行未计入").arg(row).arg(cell)
                       : tr("第 %1 行的%2有误，该行未计入：%3").arg(row).arg(cell, QString::fromUtf8(first.message));
    if (input.problems.size() > 1) note += tr("（另有 %1 行未计入）").arg(input.problems.size() - 1);
    notes << note;
  }

  if (minWaves_->value() > 0) options.minWaves = static_cast<std::size_t>(minWaves_->value());

  const std::optional<long double> tolerance = ReadConfluenceTolerance(tolerance_->text().toUtf8().toStdString());
  if (!tolerance) {
    notes.prepend(tr("容差应为不小于 0 的数"));
    ShowZones({}, notes.join(tr("；")));
    return;
  }
  options.tolerancePercent = *tolerance;
  tolerancePercent_ = *tolerance;

  std::vector<ConfluenceZoneRow> zoneRows;
  try {
    std::vector<ConfluenceZone> zones = FindConfluenceZones(input.waves, CurrentRatioList(), options);
    // Members name the table's rows, skipped rows counted, as the user sees them.
    for (ConfluenceZone& zone : zones)
      for (ConfluenceLevel& member : zone.members) member.wave = input.waveRows[member.wave];
    std::optional<PriceTick> tick;
    if (!settings_.tickText.empty()) tick.emplace(settings_.tickText);
    zoneRows = MakeConfluenceRows(zones, CurrentRatioList(), tick ? &*tick : nullptr);
  } catch (const Exception& e) {
    notes.prepend(QString::fromUtf8(e.Message()));
    ShowZones({}, notes.join(tr("；")));
    return;
  }
  notes.prepend(input.waves.empty() ? tr("请输入波段的低点和高点")
                                    : tr("汇合区：%1，波段：%2").arg(zoneRows.size()).arg(input.waves.size()));
  ShowZones(std::move(zoneRows), notes.join(tr("；")));
}

QString TConfluenceForm::MemberText(const ConfluenceMemberRow& member) const {
  // The wave's number, and its label when it has one.
  const int row = static_cast<int>(member.wave) - 1;
  QString wave = QString::number(member.wave);
  if (const QTableWidgetItem* label = waves_->item(row, LabelColumn); label && !label->text().trimmed().isEmpty())
    wave += QStringLiteral("(%1)").arg(label->text().trimmed());
  const std::optional<ComputeMode> mode = ComputeModeFromName(member.mode);
  return QStringLiteral("%1 %2 %3 → %4")
      .arg(wave, mode ? ModeCaption(*mode) : QString::fromStdString(member.mode), QString::fromStdString(member.ratio),
           QString::fromUtf8(member.text));
}

void TConfluenceForm::ShowZones(std::vector<ConfluenceZoneRow> rows, const QString& status) {
  zoneRows_ = std::move(rows);
  zones_->setRowCount(static_cast<int>(zoneRows_.size()));
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  for (int i = 0; i < static_cast<int>(zoneRows_.size()); ++i) {
    const ConfluenceZoneRow& zone = zoneRows_[static_cast<std::size_t>(i)];
    QStringList members;
    for (const ConfluenceMemberRow& member : zone.members) members << MemberText(member);
    zones_->setItem(i, 0, ReadOnlyItem(QString::fromUtf8(zone.lowText), right));
    zones_->setItem(i, 1, ReadOnlyItem(QString::fromUtf8(zone.highText), right));
    zones_->setItem(i, 2, ReadOnlyItem(QString::number(zone.waves), right));
    zones_->setItem(i, 3, ReadOnlyItem(QString::number(zone.levels), right));
    QTableWidgetItem* item = ReadOnlyItem(members.join(tr("；")));
    item->setToolTip(members.join(QLatin1Char('\n')));
    zones_->setItem(i, 4, item);
  }
  status_->setText(status);
  copy_->setEnabled(!zoneRows_.empty());
}

void TConfluenceForm::CopyZones() {
  if (zoneRows_.empty()) return;
  CopyTextAndHtml(FormatConfluenceRows(OutputFormat::Text, tolerancePercent_, zoneRows_),
                  ConfluenceRowsHtmlTable(zoneRows_));
}

void TConfluenceForm::ExportCsv() {
  if (lastCsvPath_.empty())
    lastCsvPath_ = SuggestedSavePath(QStandardPaths::DocumentsLocation, QStringLiteral("confluence.csv"));
  // The zones as they are when the command starts.
  const std::string csv = FormatConfluenceRows(OutputFormat::Csv, tolerancePercent_, zoneRows_);
  const std::optional<std::string> path =
      reporter_.Prompter().AskCsvPath(this, tr("导出 CSV").toStdString(), lastCsvPath_);
  if (!path) return;
  lastCsvPath_ = *path;
  SaveUserFile(*path, csv);
}

}  // namespace tavimo::app
