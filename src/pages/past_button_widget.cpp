#include "pages/past_button_widget.h"

#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>

#include "app/qt_text_qt.h"
#include "resources/strings.h"

void CPastButton::ShowMenu(const QPoint& globalPos) {
  QMenu menu(this);
  auto* group = new QActionGroup(&menu);
  for (int id : {IDS_MENU_PAST, IDS_MENU_FUTURE}) {
    QAction* action = menu.addAction(QtString(id));
    action->setObjectName(QString("id%1").arg(id));
    action->setCheckable(true);
    action->setChecked(future_ == (id == IDS_MENU_FUTURE));
    group->addAction(action);
  }
  QAction* chosen = menu.exec(globalPos);
  if (chosen) emit DirectionChosen(chosen->objectName() == QString("id%1").arg(IDS_MENU_FUTURE));
}

// The menu first, then the button's own handling of the press (a right click selects nothing).
void CPastButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) ShowMenu(e->globalPosition().toPoint());
  QRadioButton::mousePressEvent(e);
}
