// The console's notification target: a blocking queue that the search threads post to and the main
// thread of serquin-cli drains in posting order.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "search/notify.h"

struct Notification {
  unsigned msg = 0;
  uintptr_t wParam = 0;
  std::string detail;
};

class ConsoleNotify : public NotifyTarget {
 public:
  // `wantProgress`: keep progress notifications (otherwise they are not even queued).
  explicit ConsoleNotify(bool wantProgress) : wantProgress_(wantProgress) {}
  ~ConsoleNotify() override;

  void Post(unsigned msg, uintptr_t wParam, const std::string& detail) override;
  void DropPending(unsigned msg) override;

  // Moves every queued notification into `out`, waiting at most `timeout` for the first one.
  void TakeAll(std::deque<Notification>& out, std::chrono::milliseconds timeout);
  // Moves every queued notification into `out` without waiting.
  void TakeAvailable(std::deque<Notification>& out);

 private:
  const bool wantProgress_;
  std::mutex lock_;
  std::condition_variable posted_;
  std::deque<Notification> queue_;  // guarded by lock_
};

// Frees the record a hit notification owns (for notifications that are dropped unread).
void FreeRecord(const Notification& notification);
