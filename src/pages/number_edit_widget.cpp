#include "pages/number_edit_widget.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/number_field.h"

NumberEdit::NumberEdit(int lower, int upper, QWidget* parent) : QLineEdit(parent), lower_(lower), upper_(upper) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Wide enough for the upper bound and a little more.
  setMaximumWidth(fontMetrics().horizontalAdvance(QString::number(upper) + "000") + 8);
  setText(QString::number(std::clamp(0, lower, upper)));
  connect(this, &QLineEdit::textEdited, this, [this] {
    ApplyRule();
    emit Edited();
  });
}

int NumberEdit::Value() const {
  bool ok = false;
  const qlonglong value = text().trimmed().toLongLong(&ok);
  return ok ? static_cast<int>(std::clamp<qlonglong>(value, lower_, upper_)) : 0;
}

void NumberEdit::SetValue(int value) {
  setText(QString::number(std::clamp(value, lower_, upper_)));
}

void NumberEdit::StepBy(int steps) {
  const int before = Value();
  const int after = static_cast<int>(std::clamp<qlonglong>(qlonglong{before} + steps, lower_, upper_));
  if (text() == QString::number(after)) return;
  setText(QString::number(after));
  emit Edited();
}

void NumberEdit::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) {
    StepBy(e->key() == Qt::Key_Up ? 1 : -1);
    return;
  }
  QLineEdit::keyPressEvent(e);
}

// The number field rule, after every edit by the user.
void NumberEdit::ApplyRule() {
  if (std::optional<std::string> fixed = FixNumberField(text().toStdString(), lower_, upper_)) {
    setText(QString::fromStdString(*fixed));
  }
}

UpDownButtons::UpDownButtons(NumberEdit* buddy, QWidget* parent) : QWidget(parent) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  const int height = std::max(8, buddy->sizeHint().height() / 2);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, height);
    column->addWidget(button);
  }
  connect(up_, &QToolButton::clicked, buddy, [buddy] { buddy->StepBy(1); });
  connect(down_, &QToolButton::clicked, buddy, [buddy] { buddy->StepBy(-1); });
  // The spin follows its edit's enabled state, as one control with it.
  setEnabled(buddy->isEnabled());
}
