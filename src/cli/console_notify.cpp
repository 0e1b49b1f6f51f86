#include "cli/console_notify.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "platform/event.h"
#include "search/found.h"

ConsoleNotify::~ConsoleNotify() = default;

void ConsoleNotify::Post(Notification n) {
  if (n.msg == kMsgProgress && !wantProgress_) return;
  // Handled records are freed here, on the search thread that allocated them, and outside the lock.
  std::vector<Notification> retired;
  {
    std::lock_guard<std::mutex> guard(lock_);
    // Several progress notifications in a row collapse into one: only the newest text is shown anyway.
    if (n.msg == kMsgProgress && !queue_.empty() && queue_.back().msg == kMsgProgress) return;
    const bool isHit = n.IsHit();
    queue_.push_back(std::move(n));
    if (!isHit || queue_.size() >= kWakeBatch) Wake();
    retired.swap(retired_);
  }
}

void ConsoleNotify::PostAll(std::vector<Notification>& run, const platform::Event& stop) {
  if (stop.IsSet()) {
    run.clear();
    return;
  }
  {
    std::lock_guard<std::mutex> guard(lock_);
    bool wake = false;
    for (Notification& n : run) {
      if (n.msg == kMsgProgress && !wantProgress_) continue;
      wake = wake || !n.IsHit();
      queue_.push_back(std::move(n));
    }
    if (wake || queue_.size() >= kWakeBatch) Wake();
  }
  run.clear();
}

void ConsoleNotify::Reclaim(std::vector<std::unique_ptr<FOUND_M>>& spares, size_t most) {
  // The records move from one vector to the other under the lock: no block changes hands between
  // threads. Those beyond `most` wait for the next call, or are freed with the rest by the next Post.
  std::lock_guard<std::mutex> guard(lock_);
  while (!retired_.empty() && spares.size() < most) {
    if (auto hit = TakeTextHit(retired_.back())) spares.push_back(std::move(hit));
    retired_.pop_back();
  }
}

void ConsoleNotify::Retire(std::vector<Notification>& handled) {
  for (Notification& n : handled) {
    if (n.IsHit() && n.wParam != 0) retiring_.push_back(std::move(n));
  }
  handled.clear();
  if (retiring_.empty()) return;
  std::lock_guard<std::mutex> guard(lock_);
  if (retired_.empty()) {
    retired_.swap(retiring_);
  } else {
    std::move(retiring_.begin(), retiring_.end(), std::back_inserter(retired_));
    retiring_.clear();
  }
}

void ConsoleNotify::Flush() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!queue_.empty()) Wake();
}

void ConsoleNotify::WakeReader() {
  std::lock_guard<std::mutex> guard(lock_);
  Wake();
}

void ConsoleNotify::Wake() {
  if (wake_) return;
  wake_ = true;
  posted_.notify_one();
}

void ConsoleNotify::DropPending(unsigned msg) {
  std::lock_guard<std::mutex> guard(lock_);
  std::erase_if(queue_, [&](const Notification& n) { return n.msg == msg; });
}

void ConsoleNotify::TakeAll(std::vector<Notification>& out, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(lock_);
  posted_.wait_for(guard, timeout, [&] { return wake_; });
  TakeQueue(out);
}

void ConsoleNotify::TakeAvailable(std::vector<Notification>& out) {
  std::lock_guard<std::mutex> guard(lock_);
  TakeQueue(out);
}

// The reader's batch is empty as a rule, so the queue is handed over by a swap, not copied: the search
// thread waits for this lock with every post.
void ConsoleNotify::TakeQueue(std::vector<Notification>& out) {
  if (out.empty()) {
    out.swap(queue_);
  } else {
    std::move(queue_.begin(), queue_.end(), std::back_inserter(out));
    queue_.clear();
  }
  wake_ = false;
}
