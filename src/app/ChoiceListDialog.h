#pragma once
// The chooser for one name out of a list that may be long (the user's
// presets): a filter box over the list, which keeps the names that hold the
// typed text in any case. Enter or a double click chooses, Escape cancels.

#include <QDialog>
#include <QStringList>
#include <optional>

class QDialogButtonBox;
class QLineEdit;
class QListView;
class QPushButton;
class QSortFilterProxyModel;
class QStringListModel;

namespace tavimo::app {

class TChoiceListDialog : public QDialog {
  Q_OBJECT
 public:
  TChoiceListDialog(QWidget* parent, const QString& caption, const QString& prompt, const QStringList& items);

  // The chosen item's place in items; nothing before OK or while the filter keeps none.
  std::optional<int> ChosenRow() const;

  QLineEdit* FilterEdit() const { return filter_; }
  QListView* List() const { return list_; }
  QPushButton* OkButton() const;
  QPushButton* CancelButton() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyFilter(const QString& text);
  void UpdateOkButton();

  QStringListModel* items_;
  QSortFilterProxyModel* shown_;
  QLineEdit* filter_;
  QListView* list_;
  QDialogButtonBox* buttons_;
};

}  // namespace tavimo::app
