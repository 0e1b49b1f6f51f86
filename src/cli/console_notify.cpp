#include "cli/console_notify.h"

#include <algorithm>
#include <memory>

#include "search/found.h"

void FreeRecord(const Notification& n) {
  if (n.msg == kMsgTextHit) std::unique_ptr<FOUND_M>(reinterpret_cast<FOUND_M*>(n.wParam));
  if (n.msg == kMsgNameHit) std::unique_ptr<FOUND_F>(reinterpret_cast<FOUND_F*>(n.wParam));
}

ConsoleNotify::~ConsoleNotify() {
  for (const Notification& n : queue_) FreeRecord(n);
  for (const Notification& n : retired_) FreeRecord(n);
}

void ConsoleNotify::Post(unsigned msg, uintptr_t wParam, const std::string& detail) {
  if (msg == kMsgProgress && !wantProgress_) return;
  std::vector<Notification> retired;
  {
    std::lock_guard<std::mutex> guard(lock_);
    // Several progress notifications in a row collapse into one: only the newest text is shown anyway.
    if (msg == kMsgProgress && !queue_.empty() && queue_.back().msg == kMsgProgress) return;
    queue_.push_back({msg, wParam, detail});
    bool isHit = msg == kMsgTextHit || msg == kMsgNameHit;
    if (!isHit || queue_.size() >= kWakeBatch) Wake();
    retired.swap(retired_);
  }
  for (const Notification& n : retired) FreeRecord(n);
}

void ConsoleNotify::Retire(std::deque<Notification>& handled) {
  std::vector<Notification> hits;
  hits.reserve(handled.size());
  for (Notification& n : handled) {
    if (n.msg == kMsgTextHit || n.msg == kMsgNameHit) hits.push_back({n.msg, n.wParam, std::string()});
  }
  handled.clear();
  if (hits.empty()) return;
  std::lock_guard<std::mutex> guard(lock_);
  if (retired_.empty()) {
    retired_.swap(hits);
  } else {
    retired_.insert(retired_.end(), hits.begin(), hits.end());
  }
}

void ConsoleNotify::Flush() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!queue_.empty()) Wake();
}

void ConsoleNotify::Wake() {
  if (wake_) return;
  wake_ = true;
  posted_.notify_one();
}

void ConsoleNotify::DropPending(unsigned msg) {
  std::lock_guard<std::mutex> guard(lock_);
  std::erase_if(queue_, [&](const Notification& n) {
    if (n.msg != msg) return false;
    FreeRecord(n);
    return true;
  });
}

void ConsoleNotify::TakeAll(std::deque<Notification>& out, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(lock_);
  posted_.wait_for(guard, timeout, [&] { return wake_; });
  TakeQueue(out);
}

void ConsoleNotify::TakeAvailable(std::deque<Notification>& out) {
  std::lock_guard<std::mutex> guard(lock_);
  TakeQueue(out);
}

// The reader's batch is empty as a rule, so the queue is handed over by a swap, not copied: the search
// thread waits for this lock with every post.
void ConsoleNotify::TakeQueue(std::deque<Notification>& out) {
  if (out.empty()) {
    out.swap(queue_);
  } else {
    std::move(queue_.begin(), queue_.end(), std::back_inserter(out));
    queue_.clear();
  }
  wake_ = false;
}
