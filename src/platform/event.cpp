#include "platform/event.h"

namespace platform {
namespace {

// Longer waits are waits without a limit; adding them to the clock's current time would overflow.
constexpr std::chrono::hours kNoLimit{24 * 365};

}  // namespace

void Event::Set() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    set_ = true;
  }
  if (mode_ == Mode::Manual) {
    changed_.notify_all();
  } else {
    changed_.notify_one();
  }
}

void Event::Reset() {
  std::lock_guard<std::mutex> guard(lock_);
  set_ = false;
}

bool Event::TryTake() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!set_) return false;
  if (mode_ == Mode::Auto) set_ = false;
  return true;
}

bool Event::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(lock_);
  if (timeout < std::chrono::milliseconds::zero()) timeout = std::chrono::milliseconds::zero();
  // The predicate guards against spurious wake-ups and against an auto-reset signal taken by another
  // waiter between the notification and this thread's wake-up.
  auto signalled = [this] { return set_.load(); };
  if (timeout >= kNoLimit) {
    changed_.wait(guard, signalled);
  } else if (!changed_.wait_for(guard, timeout, signalled)) {
    return false;
  }
  if (mode_ == Mode::Auto) set_ = false;
  return true;
}

}  // namespace platform
