// The pending-count throttle: a search never lets the front end fall far behind, and a stop request ends
// a search that waits for a front end that has stopped taking hits.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "search/found.h"
#include "search/notify.h"
#include "search/search.h"
#include "search/search_request.h"
#include "search/shared_state.h"
#include "testkit/temp_tree.h"

namespace {

// A front end on its own thread that takes hits only when the test lets it.
class SlowNotify : public NotifyTarget {
 public:
  explicit SlowNotify(SearchShared& shared) : shared_(shared) {}
  void Post(Notification n) override {
    std::lock_guard<std::mutex> guard(lock_);
    if (n.msg == kMsgSearchEnd) {
      ended_ = true;
      changed_.notify_all();
    }
    if (n.msg != kMsgNameHit) return;
    queue_.push_back(std::move(n));
    ++posted_;
    maxOutstanding_ = std::max(maxOutstanding_, static_cast<int>(queue_.size()));
    changed_.notify_all();
  }
  void DropPending(unsigned) override {}

  // Handles one queued hit, waiting for one to arrive; false once the search has ended and none is left.
  bool HandleOne() {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [&] { return !queue_.empty() || ended_; });
    if (queue_.empty()) return false;
    queue_.pop_front();
    ++handled_;
    guard.unlock();
    shared_.pending.Handled();
    return true;
  }

  void WaitForPosted(int count) {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [&] { return posted_ >= count; });
  }

  int MaxOutstanding() {
    std::lock_guard<std::mutex> guard(lock_);
    return maxOutstanding_;
  }
  int Handled() {
    std::lock_guard<std::mutex> guard(lock_);
    return handled_;
  }
  int Posted() {
    std::lock_guard<std::mutex> guard(lock_);
    return posted_;
  }

 private:
  SearchShared& shared_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<Notification> queue_;
  bool ended_ = false;
  int posted_ = 0;
  int handled_ = 0;
  int maxOutstanding_ = 0;
};

class ThrottleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 1000; ++i) tree.File("f" + std::to_string(i) + ".txt");
  }
  std::unique_ptr<SearchRequest> Request(NotifyTarget& notify) {
    SearchConditions c;
    c.SearchMoji = false;
    c.SearchFile = true;
    c.Locations = {tree.Root() + "/"};
    return BuildSearchRequest(c, notify, shared, 0);
  }
  TempTree tree;
  SearchShared shared;
};

TEST_F(ThrottleTest, AThousandHitsNeverRunFarAheadOfTheFrontEnd) {
  SlowNotify notify(shared);
  std::thread worker(SearchThreadProc, Request(notify));
  while (notify.HandleOne()) {
  }
  worker.join();
  EXPECT_EQ(notify.Handled(), 1000);
  // More than 64 outstanding makes the search wait; it can be ahead by at most one batch of 16 beyond
  // that, plus the up to 15 hits not yet accounted for.
  EXPECT_LE(notify.MaxOutstanding(), 64 + 16 + 15);
}

TEST_F(ThrottleTest, StopEndsAWaitForAFrontEndThatTakesNothing) {
  SlowNotify notify(shared);
  int result = -1;
  std::thread worker([&] { result = SearchThreadProc(Request(notify)); });
  notify.WaitForPosted(80);  // the search is now waiting for the front end
  shared.stop.Set();
  worker.join();
  EXPECT_EQ(result, 1);
  EXPECT_LT(notify.Posted(), 1000);
}

}  // namespace
