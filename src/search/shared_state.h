// The state a front end shares with the search threads while a search runs: the stop event, the
// current-folder text under its try-lock, and the pending count that throttles hit notifications. The
// front end owns one SearchShared for its whole life; the search threads only refer to it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/event.h"
#include "search/notify.h"

// The longest a waiting search thread goes without looking at the stop event. Nothing wakes a wait when
// the front end sets the event, so every wait of the search threads looks at it this often: a stop then
// ends the search within a few of these steps.
constexpr std::chrono::milliseconds kStopLookStep{10};

// The current-folder text (the progress line) and its lock. Neither side ever waits for the lock: the
// search side skips an update it cannot take, the front end skips a read.
class ProgressText {
 public:
  static constexpr size_t kCapacity = 264;

  // Search side: stores `text` (code page 932, cut at a character boundary to fit) and posts the progress
  // notification of search `search`, unless the front end is reading the text right now.
  void Set(std::string_view text, NotifyTarget& notify, uint64_t search);
  // Front-end side: copies the text out; false when the lock was taken (then `text` is unchanged).
  bool TryRead(std::string& text);

 private:
  platform::Event lock_{platform::Event::Mode::Auto, true};  // signalled means free
  char text_[kCapacity] = {};                                // guarded by lock_
};

// The number of hit notifications posted and not yet handled by the front end.
class PendingCount {
 public:
  // Front end, at every search start.
  void Reset();
  // Front end, for handled hit notifications (one, or a whole batch at once).
  void Handled(int hits = 1);
  // Search side, after each batch of 16 posted hits: adds 16 and, when more than backlog.waitAbove are
  // then outstanding, waits until at most backlog.resumeAt remain. The wait ends as soon as the front end
  // has brought the count down (it is notified, so a search with many hits is never asleep while the front
  // end is idle) and looks at the stop event every kStopLookStep. Returns true when it stopped waiting
  // because of the stop event. `beforeWait` runs (without the lock held) when a wait is about to begin, so
  // the notification target can hand over hits it keeps back.
  bool AddBatch(int batch, HitBacklog backlog, platform::Event& stop,
                const std::function<void()>& beforeWait = {});
  int Value();

 private:
  std::mutex lock_;
  std::condition_variable drained_;
  int count_ = 0;      // guarded by lock_
  int resumeAt_ = -1;  // guarded by lock_: the count the waiting search side waits for; -1 when none waits
  int waiters_ = 0;    // guarded by lock_: search threads waiting
};

struct SearchShared {
  platform::Event stop{platform::Event::Mode::Manual};  // set means stop
  ProgressText progress;
  PendingCount pending;
};
