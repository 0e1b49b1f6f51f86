// The order in which side-by-side scanners post: files finishing out of order still post their kept hits
// in queue order, and a scanner waiting for its turn can be stopped.
#include "search/scan_order.h"

#include <gtest/gtest.h>

#include "search/found.h"

#include <string>
#include <thread>
#include <vector>

namespace {

struct Posted {
  std::vector<int> lines;  // line numbers in posting order
  int stopAfter = -1;      // asks to stop once this many are posted
};

// Posts a file's kept hits as one run, as the scanner does.
bool Post(void* poster, std::vector<Notification>& hits) {
  auto& posted = *static_cast<Posted*>(poster);
  for (const Notification& n : hits) posted.lines.push_back(TextHitOf(n)->lineNumber);
  hits.clear();
  return static_cast<int>(posted.lines.size()) == posted.stopAfter;
}

std::vector<Notification> Hits(std::initializer_list<int> lines) {
  std::vector<Notification> hits;
  for (int line : lines) {
    auto hit = std::make_unique<FOUND_M>();
    hit->lineNumber = line;
    hits.push_back(TextHitNotification(std::move(hit), 1));
  }
  return hits;
}

TEST(ScanOrder, FilesFinishingOutOfOrderPostInQueueOrder) {
  ScanOrder order;
  Posted posted;
  EXPECT_TRUE(order.IsHead(0));
  EXPECT_FALSE(order.IsHead(1));
  // Places 2 and 1 finish before 0: nothing is posted until 0 is done, then all three in order; 3 is not
  // done, so 4 waits behind it.
  EXPECT_FALSE(order.Finish(2, Hits({20, 21}), &posted, Post));
  EXPECT_FALSE(order.Finish(1, Hits({}), &posted, Post));
  EXPECT_FALSE(order.Finish(4, Hits({40}), &posted, Post));
  EXPECT_TRUE(posted.lines.empty());
  EXPECT_FALSE(order.Finish(0, Hits({1, 2}), &posted, Post));
  EXPECT_EQ(posted.lines, (std::vector<int>{1, 2, 20, 21}));
  EXPECT_TRUE(order.IsHead(3));
  EXPECT_FALSE(order.Finish(3, Hits({30}), &posted, Post));
  EXPECT_EQ(posted.lines, (std::vector<int>{1, 2, 20, 21, 30, 40}));
  EXPECT_TRUE(order.IsHead(5));
}

TEST(ScanOrder, ARequestToStopIsReportedAndTheOrderStillAdvances) {
  ScanOrder order;
  Posted posted;
  posted.stopAfter = 1;
  EXPECT_FALSE(order.Finish(1, Hits({10, 11}), &posted, Post));
  EXPECT_TRUE(order.Finish(0, Hits({1}), &posted, Post));
  EXPECT_EQ(posted.lines, (std::vector<int>{1}));  // nothing more is posted after the request
  EXPECT_TRUE(order.IsHead(2));
}

TEST(ScanOrder, WaitingForTheTurnEndsWhenTheHeadIsDoneOrOnStop) {
  ScanOrder order;
  Posted posted;
  platform::Event stop(platform::Event::Mode::Manual);
  std::thread waiter([&] { EXPECT_TRUE(order.WaitForHead(1, stop)); });
  order.Finish(0, Hits({}), &posted, Post);
  waiter.join();
  std::thread stopped([&] { EXPECT_FALSE(order.WaitForHead(5, stop)); });
  stop.Set();
  stopped.join();
}

}  // namespace
