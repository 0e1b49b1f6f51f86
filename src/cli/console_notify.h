// The console's notification target: a blocking queue that the search threads post to and the main
// thread of serquin-cli drains in posting order.
//
// Hits wake the reader in batches, not one by one: waking a sleeping thread for every line of a search
// with a hundred thousand hits costs more than printing them. A hit waits in the queue until a batch is
// full, the search flushes before it waits for the reader, another kind of notification arrives, or the
// reader's own wait times out.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "search/notify.h"

class ConsoleNotify : public NotifyTarget {
 public:
  // `wantProgress`: keep progress notifications (otherwise they are not even queued).
  explicit ConsoleNotify(bool wantProgress) : wantProgress_(wantProgress) {}
  ~ConsoleNotify() override;

  void Post(Notification n) override;
  // A run of hits is queued under one lock, waking the reader at most once.
  void PostAll(std::vector<Notification>& run, const platform::Event& stop) override;
  // The text-hit records the reader retired go back to the search for reuse.
  void Reclaim(std::vector<std::unique_ptr<FOUND_M>>& spares, size_t most) override;
  void DropPending(unsigned msg) override;
  void Flush() override;
  // The reader takes hundreds of hits per wake-up, so the search may run thousands ahead: a short backlog
  // would make both threads hand over control every few dozen hits. It still bounds the memory held.
  HitBacklog Backlog() const override { return {4096, 1024}; }
  bool WantsProgress() const override { return wantProgress_; }
  bool WantsUtf8Lines() const override { return utf8Lines_; }
  // The UTF-8 lines are asked for only to be printed as they stand (HitPrinter::Print).
  bool TakesUtf8LinesOnly() const override { return utf8Lines_; }
  // Asks the search for the lines of UTF-8 files as they stand (for output in UTF-8); before the search.
  void WantUtf8Lines(bool want) { utf8Lines_ = want; }

  // Moves every queued notification into `out`, waiting at most `timeout` for a wake-up (see above);
  // after the timeout it takes whatever is queued. An empty `out` trades places with the queue, so the
  // room of both is kept: a hundred thousand hits pass without a block allocated on one thread and freed
  // on another (which makes the threads queue for the allocator's lock).
  void TakeAll(std::vector<Notification>& out, std::chrono::milliseconds timeout);
  // Reader side: hands the hit records of a handled batch back, and empties the batch (what the reader
  // took out of a notification is its own to free). A search thread takes them at its next post: text-hit
  // records for reuse (Reclaim), the rest to be freed. So the reader never contends with the search threads
  // for the allocator's lock (with a hundred thousand hits that contention costs more than the printing),
  // and most hits are written into a record that already has room for them.
  void Retire(std::vector<Notification>& handled);
  // Moves every queued notification into `out` without waiting.
  void TakeAvailable(std::vector<Notification>& out);
  // Ends the reader's wait in TakeAll now, whatever is queued (from any thread).
  void WakeReader();

 private:
  // Hits queued before the reader is woken; well below the backlog the search may keep, so that the search
  // never waits on a reader that has not been woken.
  static constexpr size_t kWakeBatch = 1024;

  // Both with lock_ held.
  void Wake();
  void TakeQueue(std::vector<Notification>& out);

  const bool wantProgress_;
  bool utf8Lines_ = false;
  std::mutex lock_;
  std::condition_variable posted_;
  std::vector<Notification> queue_;     // guarded by lock_
  bool wake_ = false;                   // guarded by lock_: the reader should take the queue now
  std::vector<Notification> retired_;   // guarded by lock_: handled hits whose records are yet to be reused
                                        // or freed
  std::vector<Notification> retiring_;  // the reader's own: the hits of a batch on their way to retired_
};
