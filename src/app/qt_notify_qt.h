// The window's notification target. The search threads' notifications wait in a queue of their own; the
// first one posted to an empty queue posts one wake-up event to the main dialog, which then takes the whole
// queue on the window thread and handles it in posting order. Posting an event per hit would cost a
// system call and a wake-up of the window thread for every hit.
#pragma once

#include <QEvent>
#include <QObject>
#include <deque>
#include <mutex>

#include "search/notify.h"

class QtNotify : public NotifyTarget {
 public:
  // The event type of the wake-up; its receiver calls TakeAll.
  static const QEvent::Type kWakeType;

  explicit QtNotify(QObject* receiver) : receiver_(receiver) {}
  // Any thread: queues the notification and wakes the receiver when the queue was empty.
  void Post(Notification n) override;
  // Window thread: removes queued notifications of kind `msg` (only progress ones are ever dropped; a hit
  // already posted still reaches its list).
  void DropPending(unsigned msg) override;
  // Window thread: moves every queued notification into `out`, in posting order.
  void TakeAll(std::deque<Notification>& out);

 private:
  QObject* receiver_;
  std::mutex lock_;
  std::deque<Notification> queue_;  // guarded by lock_
  bool wakePosted_ = false;         // guarded by lock_: a wake-up event is on its way to the receiver
};
