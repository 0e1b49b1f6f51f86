// CFilterADlg: the settings page "日時/サイズ". It edits the date filter (all files or a period: a date
// range, a number of days or a time span, into the past or the future, on the creation or the last-write
// time) and the size filter (a minimum, a maximum or both, each with its unit).
#pragma once

#include "pages/settei_page_widget.h"

class CPastButton;
class NumberEdit;
class OptionalTimeEdit;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QTimeEdit;
class UpDownButtons;

class CFilterADlg : public SetteiPage {
  Q_OBJECT

 public:
  explicit CFilterADlg(QWidget* parent = nullptr);
  void LoadValues(const SetteiValues& values) override;
  // WholeDay becomes 1 when the "from" time picker holds no time.
  void StoreValues(SetteiValues& values) override;
  QString HelpPage() const override { return "filter_a"; }

 private:
  QWidget* CreateDateGroup();
  QWidget* CreateSizeGroup();
  QGridLayout* DateGrid(QWidget* group);
  void Connect();
  // Enables the date controls by TimeFilter and RangeKind, the size controls by the size kind.
  void ApplyDateEnabling();
  void ApplySizeEnabling();
  // One time picker switched on or off by the user: the other follows, keeping its own time.
  void TimeSwitched(OptionalTimeEdit* other, bool on);
  // A direction chosen in a past/future menu: both buttons take it.
  void ChooseDirection(bool future);
  void ShowDirections();
  void UserChanged();

  QButtonGroup* timeFilter_ = nullptr;  // 1101, 1102
  QButtonGroup* rangeKind_ = nullptr;   // 1104, 1105, 1106
  QComboBox* timeKind_ = nullptr;       // 1103
  CPastButton* pastDays_ = nullptr;     // 1105
  CPastButton* pastTime_ = nullptr;     // 1106
  QDateEdit* dateFrom_ = nullptr;       // 1107
  OptionalTimeEdit* timeFrom_ = nullptr;  // 1108
  QLabel* rangeTilde_ = nullptr;        // 1109
  QDateEdit* dateTo_ = nullptr;         // 1110
  OptionalTimeEdit* timeTo_ = nullptr;  // 1111
  NumberEdit* days_ = nullptr;          // 1112
  UpDownButtons* daysSpin_ = nullptr;   // 1113
  QTimeEdit* span_ = nullptr;           // 1114
  QLabel* daysLabel_ = nullptr;         // 1115
  QComboBox* sizeKind_ = nullptr;       // 1161
  NumberEdit* sizeMin_ = nullptr;       // 1162
  UpDownButtons* sizeMinSpin_ = nullptr;  // 1163
  QComboBox* sizeMinUnit_ = nullptr;    // 1164
  QLabel* sizeTilde_ = nullptr;         // 1165
  NumberEdit* sizeMax_ = nullptr;       // 1166
  UpDownButtons* sizeMaxSpin_ = nullptr;  // 1167
  QComboBox* sizeMaxUnit_ = nullptr;    // 1168
  bool wholeDay_ = true;   // both time pickers are off: the range covers whole days
  bool loading_ = false;   // values are being put in: no change to report
};
