#include "pages/number_spin_widget.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "pages/numeric_field.h"

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  button->setFixedWidth(16);
  return button;
}

}  // namespace

CNumberSpin::CNumberSpin(QLineEdit* buddy, int lower, int upper, QWidget* parent)
    : QWidget(parent), buddy_(buddy), lower_(lower), upper_(upper) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = MakeArrow(Qt::UpArrow, this);
  down_ = MakeArrow(Qt::DownArrow, this);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setFixedWidth(16);
  setFixedHeight(buddy_->sizeHint().height());
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
  connect(buddy_, &QLineEdit::textChanged, this, [this] { ApplyRule(); });
  buddy_->installEventFilter(this);
}

int CNumberSpin::Value() const {
  return NumericFieldValue(buddy_->text().toStdString(), lower_, upper_);
}

void CNumberSpin::StepBy(int steps) {
  const int value = std::clamp(Value() + steps, lower_, upper_);
  buddy_->setText(QString::number(value));
}

// Corrects the text at once. Setting the corrected text changes it again, which the rule then leaves as
// it is, so every correction ends after one round.
void CNumberSpin::ApplyRule() {
  const std::string typed = buddy_->text().toStdString();
  const std::string corrected = ApplyNumericFieldRule(typed, lower_, upper_);
  if (corrected != typed) buddy_->setText(QString::fromStdString(corrected));
}

bool CNumberSpin::eventFilter(QObject* watched, QEvent* e) {
  if (watched == buddy_ && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      StepBy(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}
