// The cores the process may use follow its affinity mask, not the machine's count.
#include "platform/cores.h"

#include <gtest/gtest.h>
#include <sched.h>

namespace {

TEST(UsableCores, FollowTheAffinityMask) {
  cpu_set_t all;
  CPU_ZERO(&all);
  ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
  EXPECT_EQ(platform::UsableCores(), static_cast<unsigned>(CPU_COUNT(&all)));
  int first = 0;
  while (!CPU_ISSET(first, &all)) ++first;
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(first, &one);
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  EXPECT_EQ(platform::UsableCores(), 1u);
  ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
}

}  // namespace
