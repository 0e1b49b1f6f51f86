// The scanning buffer gives the pages of a large file back to the system and stays usable.
#include "platform/file_buffer.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace {

// How many of the pages of [from, from + bytes) are in memory.
size_t ResidentPages(const char* from, size_t bytes) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> resident((bytes + page - 1) / page);
  EXPECT_EQ(mincore(const_cast<char*>(from), bytes, resident.data()), 0);
  size_t count = 0;
  for (unsigned char r : resident) count += r & 1;
  return count;
}

TEST(FileBuffer, GivesBackThePagesAboveWhatItKeeps) {
  constexpr size_t kMiB = size_t{1} << 20;
  platform::FileBuffer buffer(64 * kMiB);
  ASSERT_TRUE(buffer.Reserve(24 * kMiB));
  char* data = buffer.Data();
  memset(data, 'x', 24 * kMiB);
  EXPECT_GT(ResidentPages(data + 8 * kMiB, 16 * kMiB), 0u);
  buffer.GiveBackAbove(8 * kMiB);
  EXPECT_EQ(ResidentPages(data + 8 * kMiB, 16 * kMiB), 0u);
  EXPECT_EQ(data[8 * kMiB - 1], 'x');  // what it keeps stays as it was
  // The next file takes the whole room again.
  ASSERT_TRUE(buffer.Reserve(24 * kMiB));
  EXPECT_EQ(buffer.Data(), data);
  EXPECT_EQ(data[20 * kMiB], '\0');
  memset(data, 'y', 24 * kMiB);
  EXPECT_EQ(data[24 * kMiB - 1], 'y');
}

}  // namespace
