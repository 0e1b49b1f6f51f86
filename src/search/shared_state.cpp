#include "search/shared_state.h"

#include <chrono>
#include <cstring>

#include "matching/mbcs.h"
#include "search/notify.h"

using matching::BoundaryAtOrBefore;

void ProgressText::Set(std::string_view text, NotifyTarget& notify, uint64_t search) {
  if (!lock_.TryTake()) return;
  // Cut at a character boundary that fits, never in the middle of a double-byte character.
  size_t n = text.size() < kCapacity ? text.size() : BoundaryAtOrBefore(text, kCapacity - 1);
  memcpy(text_, text.data(), n);
  text_[n] = '\0';
  notify.Post(ProgressNotification(search));
  lock_.Set();
}

bool ProgressText::TryRead(std::string& text) {
  if (!lock_.TryTake()) return false;
  text = text_;
  lock_.Set();
  return true;
}

void PendingCount::Reset() {
  std::lock_guard<std::mutex> guard(lock_);
  count_ = 0;
}

void PendingCount::Handled(int hits) {
  std::lock_guard<std::mutex> guard(lock_);
  count_ -= hits;
  if (count_ <= resumeAt_) drained_.notify_all();
}

bool PendingCount::AddBatch(int batch, HitBacklog backlog, platform::Event& stop,
                            const std::function<void()>& beforeWait) {
  std::unique_lock<std::mutex> guard(lock_);
  count_ += batch;
  if (count_ <= backlog.waitAbove) return false;
  if (beforeWait) {
    guard.unlock();
    beforeWait();
    guard.lock();
  }
  // Several scanning threads may wait at once, all for the same front end's backlog.
  ++waiters_;
  resumeAt_ = backlog.resumeAt;
  bool stopped = false;
  while (count_ > backlog.resumeAt) {
    if ((stopped = stop.IsSet())) break;
    drained_.wait_for(guard, kStopLookStep);
  }
  if (--waiters_ == 0) resumeAt_ = -1;
  return stopped;
}

int PendingCount::Value() {
  std::lock_guard<std::mutex> guard(lock_);
  return count_;
}
