#include "pages/filter_a_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt_text_qt.h"
#include "app/settei_fields.h"
#include "pages/control_id.h"
#include "pages/number_edit_widget.h"
#include "pages/optional_time_edit_widget.h"
#include "pages/past_button_widget.h"
#include "pages/round_group_box_widget.h"
#include "platform/local_time.h"
#include "resources/strings.h"

namespace {

QDate DateOf(const platform::LocalParts& p) {
  return QDate(p.year, p.month, p.day);
}

QTime TimeOf(const platform::LocalParts& p) {
  return QTime(p.hour, p.minute, p.second);
}

// The local parts of a time within the pickers' calendar.
platform::LocalParts PartsOf(int64_t time) {
  platform::LocalParts parts;
  platform::ToLocal(std::clamp(time, EarliestPickerTime(), LatestPickerTime()), parts);
  return parts;
}

// The time of a picked date and time of day; `otherwise` when the platform cannot represent it.
int64_t TimeFrom(const QDate& date, const QTime& time, int64_t otherwise) {
  platform::LocalParts parts{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
  int64_t result = 0;
  return platform::FromLocal(parts, result) ? result : otherwise;
}

QDateEdit* MakeDatePicker(int id, QWidget* parent) {
  auto* picker = WithId(new QDateEdit(parent), id);
  picker->setDisplayFormat("yyyy/MM/dd");
  picker->setCalendarPopup(true);
  picker->setDateRange(QDate(1970, 1, 1), QDate(2100, 12, 31));
  return picker;
}

QComboBox* MakeList(int id, std::initializer_list<const char*> items, QWidget* parent) {
  auto* list = WithId(new QComboBox(parent), id);
  for (const char* item : items) list->addItem(QString::fromUtf8(item));
  return list;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  for (QWidget* widget : widgets) row->addWidget(widget);
  row->addStretch(1);
  return row;
}

}  // namespace

CFilterADlg::CFilterADlg(QWidget* parent) : SetteiPage(parent) {
  auto* page = new QVBoxLayout(this);
  page->addWidget(CreateDateGroup());
  page->addWidget(CreateSizeGroup());
  page->addStretch(1);
  Connect();
  ApplyDateEnabling();
  ApplySizeEnabling();
}

QWidget* CFilterADlg::CreateDateGroup() {
  auto* group = WithId(new RoundGroupBox("日時指定", this), 1100);
  timeFilter_ = new QButtonGroup(this);
  timeFilter_->addButton(WithId(new QRadioButton("すべてのファイル(&A)", group), 1101), 0);
  timeFilter_->addButton(WithId(new QRadioButton("一定期間内のファイル(&N)", group), 1102), 1);
  timeKind_ = MakeList(1103, {"作成日時", "更新日時"}, group);
  rangeKind_ = new QButtonGroup(this);
  rangeKind_->addButton(WithId(new QRadioButton("日時指定(&B)", group), 1104), 0);
  pastDays_ = WithId(new CPastButton(group), 1105);
  pastTime_ = WithId(new CPastButton(group), 1106);
  rangeKind_->addButton(pastDays_, 1);
  rangeKind_->addButton(pastTime_, 2);
  dateFrom_ = MakeDatePicker(1107, group);
  timeFrom_ = WithId(new OptionalTimeEdit(group), 1108);
  rangeTilde_ = WithId(new QLabel("～", group), 1109);
  dateTo_ = MakeDatePicker(1110, group);
  timeTo_ = WithId(new OptionalTimeEdit(group), 1111);
  days_ = WithId(new NumberEdit(0, kMaxPastDays, group), 1112);
  daysSpin_ = WithId(new UpDownButtons(days_, group), 1113);
  span_ = WithId(new QTimeEdit(group), 1114);
  span_->setDisplayFormat("HH:mm:ss");
  daysLabel_ = WithId(new QLabel("日間", group), 1115);
  DateGrid(group);
  ShowDirections();
  return group;
}

QGridLayout* CFilterADlg::DateGrid(QWidget* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(10, 20, 10, 10);
  grid->setVerticalSpacing(6);
  grid->setColumnMinimumWidth(0, 16);
  grid->addWidget(timeFilter_->button(0), 0, 0, 1, 3);
  grid->addWidget(timeFilter_->button(1), 1, 0, 1, 2);
  grid->addLayout(Row({timeKind_}), 1, 2);
  grid->addWidget(rangeKind_->button(0), 2, 1);
  grid->addLayout(Row({dateFrom_, timeFrom_, rangeTilde_}), 2, 2);
  grid->addLayout(Row({dateTo_, timeTo_}), 3, 2);
  grid->addWidget(pastDays_, 4, 1);
  auto* daysRow = Row({days_, daysSpin_, daysLabel_});
  daysRow->setSpacing(0);
  daysRow->insertSpacing(2, 6);
  grid->addLayout(daysRow, 4, 2);
  grid->addWidget(pastTime_, 5, 1);
  grid->addLayout(Row({span_}), 5, 2);
  grid->setColumnStretch(2, 1);
  return grid;
}

QWidget* CFilterADlg::CreateSizeGroup() {
  auto* group = WithId(new RoundGroupBox("ファイルサイズ(&S)", this), 1160);
  sizeKind_ = MakeList(1161, {"すべて", "最低", "最高", "範囲"}, group);
  sizeMin_ = WithId(new NumberEdit(0, kMaxSizeCount, group), 1162);
  sizeMinSpin_ = WithId(new UpDownButtons(sizeMin_, group), 1163);
  sizeMinUnit_ = MakeList(1164, {"B", "KB", "MB"}, group);
  sizeTilde_ = WithId(new QLabel("～", group), 1165);
  sizeMax_ = WithId(new NumberEdit(0, kMaxSizeCount, group), 1166);
  sizeMaxSpin_ = WithId(new UpDownButtons(sizeMax_, group), 1167);
  sizeMaxUnit_ = MakeList(1168, {"B", "KB", "MB"}, group);
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(10, 20, 10, 10);
  row->setSpacing(0);
  for (QWidget* w : std::initializer_list<QWidget*>{sizeKind_, nullptr, sizeMin_, sizeMinSpin_, nullptr, sizeMinUnit_,
                                                    nullptr, sizeTilde_, nullptr, sizeMax_, sizeMaxSpin_, nullptr,
                                                    sizeMaxUnit_}) {
    if (w) {
      row->addWidget(w);
    } else {
      row->addSpacing(6);
    }
  }
  row->addStretch(1);
  return group;
}

void CFilterADlg::Connect() {
  connect(timeFilter_, &QButtonGroup::idClicked, this, [this] {
    ApplyDateEnabling();
    UserChanged();
  });
  connect(rangeKind_, &QButtonGroup::idClicked, this, [this] {
    ApplyDateEnabling();
    UserChanged();
  });
  connect(timeKind_, &QComboBox::activated, this, [this] { UserChanged(); });
  connect(sizeKind_, &QComboBox::activated, this, [this] {
    ApplySizeEnabling();
    UserChanged();
  });
  for (QComboBox* unit : {sizeMinUnit_, sizeMaxUnit_}) {
    connect(unit, &QComboBox::activated, this, [this] { UserChanged(); });
  }
  for (NumberEdit* number : {days_, sizeMin_, sizeMax_}) {
    connect(number, &NumberEdit::Edited, this, [this] { UserChanged(); });
  }
  for (QDateEdit* date : {dateFrom_, dateTo_}) {
    connect(date, &QDateEdit::dateChanged, this, [this] { UserChanged(); });
  }
  connect(span_, &QTimeEdit::timeChanged, this, [this] { UserChanged(); });
  connect(timeFrom_, &OptionalTimeEdit::HasTimeToggled, this, [this](bool on) { TimeSwitched(timeTo_, on); });
  connect(timeTo_, &OptionalTimeEdit::HasTimeToggled, this, [this](bool on) { TimeSwitched(timeFrom_, on); });
  for (OptionalTimeEdit* time : {timeFrom_, timeTo_}) {
    connect(time, &OptionalTimeEdit::TimeEdited, this, [this] { UserChanged(); });
  }
  for (CPastButton* button : {pastDays_, pastTime_}) {
    connect(button, &CPastButton::DirectionChosen, this, [this](bool future) { ChooseDirection(future); });
  }
}

void CFilterADlg::LoadValues(const SetteiValues& values) {
  const SearchConditions& c = values.conditions;
  loading_ = true;
  timeFilter_->button(c.TimeFilter == 1 ? 1 : 0)->setChecked(true);
  timeKind_->setCurrentIndex(c.TimeKind == 0 ? 0 : 1);
  rangeKind_->button(c.RangeKind >= 0 && c.RangeKind <= 2 ? c.RangeKind : 0)->setChecked(true);
  const platform::LocalParts from = PartsOf(c.DateFrom);
  const platform::LocalParts to = PartsOf(c.DateTo);
  dateFrom_->setDate(DateOf(from));
  timeFrom_->SetTime(TimeOf(from));
  dateTo_->setDate(DateOf(to));
  timeTo_->SetTime(TimeOf(to));
  wholeDay_ = c.WholeDay;
  timeFrom_->SetHasTime(!wholeDay_);
  timeTo_->SetHasTime(!wholeDay_);
  const Span days = SplitPastDay(c.PastDay);
  const Span time = SplitPastTime(c.PastTime, c.PastDay);
  days_->SetValue(static_cast<int>(days.count));
  pastDays_->SetFuture(days.future);
  span_->setTime(QTime(0, 0).addSecs(static_cast<int>(time.count)));
  pastTime_->SetFuture(time.future);
  ShowDirections();
  sizeKind_->setCurrentIndex(c.SizeKind >= 0 && c.SizeKind <= 3 ? c.SizeKind : 0);
  sizeMin_->SetValue(c.SizeMin);
  sizeMax_->SetValue(c.SizeMax);
  sizeMinUnit_->setCurrentIndex(c.SizeMinUnit >= 0 && c.SizeMinUnit <= 2 ? c.SizeMinUnit : 1);
  sizeMaxUnit_->setCurrentIndex(c.SizeMaxUnit >= 0 && c.SizeMaxUnit <= 2 ? c.SizeMaxUnit : 1);
  ApplyDateEnabling();
  ApplySizeEnabling();
  loading_ = false;
}

void CFilterADlg::StoreValues(SetteiValues& values) {
  SearchConditions& c = values.conditions;
  c.TimeFilter = timeFilter_->checkedId() == 1 ? 1 : 0;
  c.TimeKind = timeKind_->currentIndex() == 0 ? 0 : 1;
  c.RangeKind = std::max(0, rangeKind_->checkedId());
  c.DateFrom = TimeFrom(dateFrom_->date(), timeFrom_->Time(), c.DateFrom);
  c.DateTo = TimeFrom(dateTo_->date(), timeTo_->Time(), c.DateTo);
  c.WholeDay = !timeFrom_->HasTime();
  c.PastDay = JoinPastDay(days_->Value(), pastDays_->Future());
  c.PastTime = JoinPastTime(span_->time().msecsSinceStartOfDay() / 1000, pastTime_->Future());
  c.SizeKind = std::max(0, sizeKind_->currentIndex());
  c.SizeMin = sizeMin_->Value();
  c.SizeMax = sizeMax_->Value();
  c.SizeMinUnit = std::max(0, sizeMinUnit_->currentIndex());
  c.SizeMaxUnit = std::max(0, sizeMaxUnit_->currentIndex());
}

void CFilterADlg::ApplyDateEnabling() {
  const bool period = timeFilter_->checkedId() == 1;
  const int kind = rangeKind_->checkedId();
  for (QWidget* w : std::initializer_list<QWidget*>{timeKind_, rangeKind_->button(0), pastDays_, pastTime_}) {
    w->setEnabled(period);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{dateFrom_, timeFrom_, rangeTilde_, dateTo_, timeTo_}) {
    w->setEnabled(period && kind == 0);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{days_, daysSpin_, daysLabel_}) w->setEnabled(period && kind == 1);
  span_->setEnabled(period && kind == 2);
}

void CFilterADlg::ApplySizeEnabling() {
  const int kind = std::max(0, sizeKind_->currentIndex());
  for (QWidget* w : std::initializer_list<QWidget*>{sizeMin_, sizeMinSpin_, sizeMinUnit_}) w->setEnabled(kind & 1);
  for (QWidget* w : std::initializer_list<QWidget*>{sizeMax_, sizeMaxSpin_, sizeMaxUnit_}) w->setEnabled(kind & 2);
  sizeTilde_->setEnabled(kind == 3);
}

// Whole days are one switch for both pickers: switching one off switches the other off too; giving one a
// time again gives the other its own time back.
void CFilterADlg::TimeSwitched(OptionalTimeEdit* other, bool on) {
  if (!on && !wholeDay_) {
    wholeDay_ = true;
    other->SetHasTime(false);
  } else if (on && wholeDay_) {
    wholeDay_ = false;
    other->SetHasTime(true);
  }
  UserChanged();
}

void CFilterADlg::ChooseDirection(bool future) {
  const bool changed = pastDays_->Future() != future || pastTime_->Future() != future;
  pastDays_->SetFuture(future);
  pastTime_->SetFuture(future);
  ShowDirections();
  if (changed) UserChanged();
}

void CFilterADlg::ShowDirections() {
  pastDays_->setText(QtString(pastDays_->Future() ? IDS_FUTURE_DAYS : IDS_PAST_DAYS));
  pastTime_->setText(QtString(pastTime_->Future() ? IDS_FUTURE_TIME : IDS_PAST_TIME));
}

void CFilterADlg::UserChanged() {
  if (!loading_) emit Changed();
}
