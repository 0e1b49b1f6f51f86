#include "app/qt_notify_qt.h"

#include <QCoreApplication>

const QEvent::Type NotificationEvent::kType = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type NotificationEvent::kProgressType =
    static_cast<QEvent::Type>(QEvent::registerEventType());

void QtNotify::Post(Notification n) {
  QCoreApplication::postEvent(receiver_, new NotificationEvent(std::move(n)));
}

void QtNotify::DropPending(unsigned msg) {
  // Hits and the end notification are never dropped: a hit already posted still reaches its list.
  if (msg == kMsgProgress) {
    QCoreApplication::removePostedEvents(receiver_, NotificationEvent::kProgressType);
  }
}
