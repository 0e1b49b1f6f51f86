#include "search/scan_order.h"

#include <chrono>

#include "search/shared_state.h"

bool ScanOrder::IsHead(uint64_t place) {
  std::lock_guard<std::mutex> guard(lock_);
  return head_ == place;
}

bool ScanOrder::WaitForHead(uint64_t place, platform::Event& stop) {
  std::unique_lock<std::mutex> guard(lock_);
  while (head_ != place) {
    if (stop.IsSet()) return false;
    advanced_.wait_for(guard, kStopLookStep);
  }
  return true;
}

bool ScanOrder::Finish(uint64_t place, std::vector<Notification> kept, void* poster, PostFn post) {
  std::unique_lock<std::mutex> guard(lock_);
  if (place != head_) {
    done_.emplace(place, std::move(kept));
    return false;
  }
  // The lock is held while posting, so that hits of later files cannot overtake these; a scanner that
  // finishes meanwhile waits here, which it would do for its turn anyway.
  bool stop = false;
  for (;;) {
    if (!stop && !kept.empty() && post(poster, kept)) stop = true;
    ++head_;
    auto next = done_.find(head_);
    if (next == done_.end()) break;
    kept = std::move(next->second);
    done_.erase(next);
  }
  advanced_.notify_all();
  return stop;
}
