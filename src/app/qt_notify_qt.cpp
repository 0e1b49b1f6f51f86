#include "app/qt_notify_qt.h"

#include <QCoreApplication>
#include <algorithm>

const QEvent::Type QtNotify::kWakeType = static_cast<QEvent::Type>(QEvent::registerEventType());

void QtNotify::Post(Notification n) {
  std::lock_guard<std::mutex> hold(lock_);
  queue_.push_back(std::move(n));
  if (!wakePosted_) {
    wakePosted_ = true;
    QCoreApplication::postEvent(receiver_, new QEvent(kWakeType));
  }
}

void QtNotify::DropPending(unsigned msg) {
  if (msg != kMsgProgress) return;
  std::lock_guard<std::mutex> hold(lock_);
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                              [](const Notification& n) { return n.msg == kMsgProgress; }),
               queue_.end());
}

void QtNotify::TakeAll(std::deque<Notification>& out) {
  std::lock_guard<std::mutex> hold(lock_);
  wakePosted_ = false;
  if (out.empty()) {
    out.swap(queue_);
  } else {
    std::move(queue_.begin(), queue_.end(), std::back_inserter(out));
    queue_.clear();
  }
}
