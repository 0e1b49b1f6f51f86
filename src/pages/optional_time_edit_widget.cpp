#include "pages/optional_time_edit_widget.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTimeEdit>

OptionalTimeEdit::OptionalTimeEdit(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  check_ = new QCheckBox(this);
  check_->setObjectName("check");
  check_->setChecked(true);
  editor_ = new QTimeEdit(this);
  editor_->setObjectName("time");
  editor_->setDisplayFormat("HH:mm:ss");
  row->addWidget(check_);
  row->addWidget(editor_);
  connect(check_, &QCheckBox::clicked, this, [this](bool on) {
    editor_->setEnabled(on);
    emit HasTimeToggled(on);
  });
  connect(editor_, &QTimeEdit::timeChanged, this, &OptionalTimeEdit::TimeEdited);
}

bool OptionalTimeEdit::HasTime() const {
  return check_->isChecked();
}

void OptionalTimeEdit::SetHasTime(bool on) {
  check_->setChecked(on);
  editor_->setEnabled(on);
}

QTime OptionalTimeEdit::Time() const {
  return editor_->time();
}

void OptionalTimeEdit::SetTime(const QTime& time) {
  QSignalBlocker quiet(editor_);
  editor_->setTime(time);
}
