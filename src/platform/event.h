// A small event object standing in for the platform's manual- and auto-reset events. The stop event of a
// search is a manual-reset event; the current-folder lock is an auto-reset event used only as a try-lock.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

class Event {
 public:
  enum class Mode { Manual, Auto };
  explicit Event(Mode mode, bool initiallySet = false) : mode_(mode), set_(initiallySet) {}
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  // Signals the event; wakes every waiter (manual) or one waiter (auto).
  void Set();
  // Clears the signal.
  void Reset();
  // True when signalled; does not consume an auto-reset signal. Takes no lock, so the search loops may
  // look at the stop event as often as they like.
  bool IsSet() const { return set_.load(std::memory_order_acquire); }
  // Takes the signal without waiting: true when it was set (an auto-reset event is cleared by taking it).
  bool TryTake();
  // Waits at most `timeout` for the signal; true when it was set (consumed for auto reset).
  bool Wait(std::chrono::milliseconds timeout);

 private:
  const Mode mode_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::atomic<bool> set_;  // written with lock_ held (waiters test it under lock_), read without
};

}  // namespace platform
