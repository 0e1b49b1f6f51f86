#include "app/white_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/qt_text_qt.h"
#include "resources/strings.h"

CWhiteDlg::CWhiteDlg(bool whiteCheck, QWidget* parent) : QDialog(parent) {
  setObjectName("id127");
  setWindowTitle(QtString(IDS_WHITE_CAPTION));

  auto* icon = new QLabel(this);
  icon->setObjectName("icon");
  const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize));
  auto* text = new QLabel(QtString(IDS_WHITE_TEXT), this);
  text->setObjectName("text");

  // Continue is the default button: Enter goes on with the search as typed.
  auto* go = new QPushButton(QtString(IDS_WHITE_CONTINUE), this);
  go->setObjectName("id1");
  go->setDefault(true);
  auto* abort = new QPushButton(QtString(IDS_WHITE_ABORT), this);
  abort->setObjectName("id2");
  connect(go, &QPushButton::clicked, this, &QDialog::accept);
  connect(abort, &QPushButton::clicked, this, &QDialog::reject);

  dontAsk_ = new QCheckBox(QtString(IDS_WHITE_DONT_ASK), this);
  dontAsk_->setObjectName("dontAsk");
  dontAsk_->setChecked(whiteCheck);

  auto* message = new QHBoxLayout;
  message->addWidget(icon, 0, Qt::AlignTop);
  message->addSpacing(10);
  message->addWidget(text, 1, Qt::AlignVCenter);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(go);
  buttons->addWidget(abort);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(message);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->addWidget(dontAsk_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CWhiteDlg::WhiteCheck() const {
  return dontAsk_->isChecked();
}
