#include "app/about_dlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_text_qt.h"
#include "app/resources_qt.h"
#include "resources/strings.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  EnsureResources();
  setObjectName("id100");
  setWindowTitle(QtString(IDS_ABOUT_CAPTION));

  auto* icon = new QLabel(this);
  icon->setObjectName("icon");
  icon->setPixmap(QIcon(":/serquin.png").pixmap(48, 48));

  auto* version = new QLabel(QtString(IDS_ABOUT_VERSION), this);
  version->setObjectName("version");
  version->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("id1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addWidget(version, 1, Qt::AlignVCenter);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
