#pragma once
// The confluence window: a table of waves (low, high, an optional C and a
// label), the modes, the tolerance and the minimum number of waves, and the
// zones where levels of several waves meet, found again whenever an input
// changes. Rows that cannot be read are skipped and named in the status
// line; typing never opens a box. The zones are copied as text and an HTML
// table, and exported as CSV.

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "calc/ComputeMode.h"
#include "confluence/ConfluenceText.h"
#include "settings/SettingsFile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tavimo::app {

class TErrorReporter;

class TConfluenceForm : public QWidget {
  Q_OBJECT
 public:
  // Columns of the waves table.
  enum WaveColumn { LowColumn, HighColumn, FromColumn, LabelColumn };

  // A window of its own, owned by owner.
  TConfluenceForm(TErrorReporter& reporter, QWidget* owner);

  // The tick and scale of the main window; the zones are found again.
  void SetLevelSettings(const LevelSettings& settings);
  // The first row takes the main window's low and high while it is empty,
  // unless they are the boxes' cleared "0".
  void PrefillWave(const QString& low, const QString& high);
  // Reads every input and finds the zones (the ratio list in effect).
  void Recompute();

  void AddWave();
  void RemoveWave();   // the current row, keeping at least one
  void CopyZones();    // text and an HTML table
  void ExportCsv();    // asks for a file

  // The zones shown, as their rows, and the tolerance they were found with.
  const std::vector<ConfluenceZoneRow>& ZoneRows() const { return zoneRows_; }

  QTableWidget* WavesTable() const { return waves_; }
  QTableWidget* ZonesTable() const { return zones_; }
  QCheckBox* ModeBox(ComputeMode mode) const { return modeBoxes_.at(mode); }
  QLineEdit* ToleranceEdit() const { return tolerance_; }
  QSpinBox* MinWavesBox() const { return minWaves_; }
  QLabel* StatusLabel() const { return status_; }
  QPushButton* CopyButton() const { return copy_; }
  QPushButton* ExportButton() const { return export_; }

 private:
  void ShowZones(std::vector<ConfluenceZoneRow> rows, const QString& status);
  QString MemberText(const ConfluenceMemberRow& member) const;

  TErrorReporter& reporter_;
  LevelSettings settings_;
  long double tolerancePercent_ = kDefaultConfluenceTolerance;
  std::vector<ConfluenceZoneRow> zoneRows_;
  std::string lastCsvPath_;

  QTableWidget* waves_ = nullptr;
  QTableWidget* zones_ = nullptr;
  std::map<ComputeMode, QCheckBox*> modeBoxes_;
  QLineEdit* tolerance_ = nullptr;
  QSpinBox* minWaves_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* copy_ = nullptr;
  QPushButton* export_ = nullptr;
};

}  // namespace tavimo::app
