// The window's notification target: every notification of the search threads becomes an event posted to
// the main dialog and handled on the window thread, in posting order. Progress notifications travel as an
// event type of their own, so that queued ones can be dropped at once.
#pragma once

#include <QEvent>
#include <QObject>

#include "search/notify.h"

// The event that carries one notification; it owns the notification's record until the receiver takes
// it, and frees it when the event is dropped unhandled (the window closed, a queued progress removed).
class NotificationEvent : public QEvent {
 public:
  // Hits and the end notification.
  static const QEvent::Type kType;
  // The current-folder text changed.
  static const QEvent::Type kProgressType;

  explicit NotificationEvent(Notification n)
      : QEvent(n.msg == kMsgProgress ? kProgressType : kType), notification(std::move(n)) {}
  Notification notification;
};

class QtNotify : public NotifyTarget {
 public:
  explicit QtNotify(QObject* receiver) : receiver_(receiver) {}
  // Any thread: posts the notification to the receiver's thread.
  void Post(Notification n) override;
  // Window thread: removes queued notifications of kind `msg` (only progress ones are ever dropped).
  void DropPending(unsigned msg) override;

 private:
  QObject* receiver_;
};
