#include "platform/event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using platform::Event;
using namespace std::chrono_literals;

// Long enough never to expire in a test; a waiter returns early only when signalled.
constexpr auto kLong = 60s;

TEST(Event, ManualResetStaysSetUntilReset) {
  Event event(Event::Mode::Manual);
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.TryTake());
  EXPECT_FALSE(event.Wait(0ms));
  event.Set();
  EXPECT_TRUE(event.TryTake());
  EXPECT_TRUE(event.Wait(0ms));
  EXPECT_TRUE(event.IsSet());
  event.Reset();
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.Wait(-5ms));
}

TEST(Event, AutoResetSignalIsTakenOnce) {
  Event event(Event::Mode::Auto, true);
  EXPECT_TRUE(event.IsSet());  // looking does not take it
  EXPECT_TRUE(event.TryTake());
  EXPECT_FALSE(event.TryTake());
  event.Set();
  EXPECT_TRUE(event.Wait(0ms));
  EXPECT_FALSE(event.IsSet());
  event.Set();
  event.Reset();
  EXPECT_FALSE(event.TryTake());
}

TEST(Event, ManualSetReleasesEveryWaiter) {
  Event event(Event::Mode::Manual);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.emplace_back([&] { released += event.Wait(kLong) ? 1 : 0; });
  }
  event.Set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(released, 3);
  EXPECT_TRUE(event.IsSet());
}

TEST(Event, AutoSetReleasesOneWaiterPerSignal) {
  Event event(Event::Mode::Auto);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 2; ++i) {
    waiters.emplace_back([&] { released += event.Wait(kLong) ? 1 : 0; });
  }
  event.Set();
  while (released.load() == 0) std::this_thread::yield();
  event.Set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(released, 2);
  EXPECT_FALSE(event.IsSet());  // each waiter took one signal
}

TEST(Event, WaitWithoutPracticalLimit) {
  Event event(Event::Mode::Manual);
  std::thread setter([&] { event.Set(); });
  EXPECT_TRUE(event.Wait(std::chrono::milliseconds::max()));
  setter.join();
}

}  // namespace
