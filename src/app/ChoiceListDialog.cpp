#include "app/ChoiceListDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QVBoxLayout>

namespace tavimo::app {

TChoiceListDialog::TChoiceListDialog(QWidget* parent, const QString& caption, const QString& prompt,
                                     const QStringList& items)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ChoiceListDialog"));
  setWindowTitle(caption);

  items_ = new QStringListModel(items, this);
  shown_ = new QSortFilterProxyModel(this);
  shown_->setSourceModel(items_);
  shown_->setFilterCaseSensitivity(Qt::CaseInsensitive);

  auto* promptLabel = new QLabel(prompt, this);
  filter_ = new QLineEdit(this);
  filter_->setObjectName(QStringLiteral("Filter"));
  filter_->setPlaceholderText(tr("筛选"));
  filter_->setAccessibleName(tr("筛选"));
  filter_->setClearButtonEnabled(true);
  // The arrow and page keys move through the list while the typing stays in the box.
  filter_->installEventFilter(this);
  promptLabel->setBuddy(filter_);

  list_ = new QListView(this);
  list_->setObjectName(QStringLiteral("Choices"));
  list_->setAccessibleName(prompt);
  list_->setModel(shown_);
  // Every row is one line of one font, so a long list is laid out without measuring each row.
  list_->setUniformItemSizes(true);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(list_, &QListView::doubleClicked, this, &TChoiceListDialog::accept);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, &TChoiceListDialog::UpdateOkButton);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  for (QPushButton* button : {OkButton(), CancelButton()}) button->setAccessibleName(button->text().remove('&'));
  connect(buttons_, &QDialogButtonBox::accepted, this, &TChoiceListDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &TChoiceListDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(promptLabel);
  layout->addWidget(filter_);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons_);

  connect(filter_, &QLineEdit::textChanged, this, &TChoiceListDialog::ApplyFilter);
  ApplyFilter({});
  filter_->setFocus();
  resize(360, 420);
}

QPushButton* TChoiceListDialog::OkButton() const { return buttons_->button(QDialogButtonBox::Ok); }
QPushButton* TChoiceListDialog::CancelButton() const { return buttons_->button(QDialogButtonBox::Cancel); }

std::optional<int> TChoiceListDialog::ChosenRow() const {
  const QModelIndex current = list_->currentIndex();
  if (!current.isValid()) return std::nullopt;
  return shown_->mapToSource(current).row();
}

void TChoiceListDialog::accept() {
  // Enter while the filter keeps nothing leaves the dialog open.
  if (ChosenRow()) QDialog::accept();
}

void TChoiceListDialog::ApplyFilter(const QString& text) {
  shown_->setFilterFixedString(text);
  // The first name kept is the one Enter chooses.
  if (!list_->currentIndex().isValid() && shown_->rowCount() > 0) list_->setCurrentIndex(shown_->index(0, 0));
  UpdateOkButton();
}

void TChoiceListDialog::UpdateOkButton() { OkButton()->setEnabled(list_->currentIndex().isValid()); }

bool TChoiceListDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == filter_ && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        QCoreApplication::sendEvent(list_, event);
        return true;
      default: break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tavimo::app
