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
}

void ConsoleNotify::Post(unsigned msg, uintptr_t wParam, const std::string& detail) {
  if (msg == kMsgProgress && !wantProgress_) return;
  std::lock_guard<std::mutex> guard(lock_);
  // Several progress notifications in a row collapse into one: only the newest text is shown anyway.
  if (msg == kMsgProgress && !queue_.empty() && queue_.back().msg == kMsgProgress) return;
  queue_.push_back({msg, wParam, detail});
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
  posted_.wait_for(guard, timeout, [&] { return !queue_.empty(); });
  std::move(queue_.begin(), queue_.end(), std::back_inserter(out));
  queue_.clear();
}

void ConsoleNotify::TakeAvailable(std::deque<Notification>& out) {
  std::lock_guard<std::mutex> guard(lock_);
  std::move(queue_.begin(), queue_.end(), std::back_inserter(out));
  queue_.clear();
}
