// The console's notification target against the search's throttle: hits held back for a batched wake-up
// must never leave a throttled search waiting for a reader that waits for more hits.
#include "cli/console_notify.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "search/found.h"
#include "search/shared_state.h"

namespace {

// Posts `count` text hits numbered from 1 the way the search does (a throttle check after every 16), then
// the end notification. With `run` > 1 the hits go out in runs of that many, written into the records the
// reader handed back where there are any.
void PostHits(ConsoleNotify& notify, SearchShared& shared, int count, size_t run) {
  std::vector<Notification> kept;
  std::vector<std::unique_ptr<FOUND_M>> spares;
  for (int i = 1; i <= count; ++i) {
    std::unique_ptr<FOUND_M> hit;
    if (spares.empty()) {
      hit = std::make_unique<FOUND_M>();
    } else {
      hit = std::move(spares.back());
      spares.pop_back();
    }
    hit->lineNumber = i;
    if (run == 1) {
      notify.Post(TextHitNotification(std::move(hit), 1));
    } else {
      kept.push_back(TextHitNotification(std::move(hit), 1));
      if (kept.size() == run || i == count) {
        notify.PostAll(kept, shared.stop);
        EXPECT_TRUE(kept.empty());
        notify.Reclaim(spares, 4096);
      }
    }
    if (i % 16 == 0) shared.pending.AddBatch(16, notify.Backlog(), shared.stop, [&] { notify.Flush(); });
  }
  notify.Post(EndNotification(kEndNormal, 1));
}

TEST(ConsoleNotify, DeliversEveryHitInOrderWithoutStallingTheThrottledSearch) {
  for (int count : {1, 255, 256, 4200, 20000}) {
    for (size_t run : {size_t{1}, size_t{16}, size_t{256}}) {
      SCOPED_TRACE(testing::Message() << count << " hits in runs of " << run);
      SearchShared shared;
      ConsoleNotify notify(false);
      std::thread search([&] { PostHits(notify, shared, count, run); });
      int expected = 1;
      bool ended = false;
      std::vector<Notification> batch;
      while (!ended) {
        // A wait far longer than the test: the reader must be woken, never rescued by its timeout. Should
        // the hand-over fail, the test hangs and the test runner's time limit reports it.
        notify.TakeAll(batch, std::chrono::hours(1));
        for (const Notification& n : batch) {
          if (n.msg == kMsgSearchEnd) {
            ended = true;
            continue;
          }
          ASSERT_EQ(n.msg, kMsgTextHit);
          EXPECT_EQ(TextHitOf(n)->lineNumber, expected++);
          shared.pending.Handled();
        }
        notify.Retire(batch);  // records are freed by the posting thread or with the target (ASan checks)
        EXPECT_TRUE(batch.empty());
      }
      search.join();
      EXPECT_EQ(expected, count + 1);
    }
  }
}

TEST(ConsoleNotify, TakeAllHandsOverHeldBackHitsAfterItsTimeout) {
  ConsoleNotify notify(false);
  notify.Post(TextHitNotification(std::make_unique<FOUND_M>(), 1));
  std::vector<Notification> batch;
  notify.TakeAll(batch, std::chrono::milliseconds(1));
  ASSERT_EQ(batch.size(), 1u);
  notify.Retire(batch);
}

}  // namespace
