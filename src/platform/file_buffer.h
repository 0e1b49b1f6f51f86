// The scanning thread's file buffer: one block of memory reused for every file and only ever grown.
//
// Each file is read whole into it. The first touch of a page costs a page fault and the zeroing of the
// page, so the buffer sets aside the address range for the largest file it will ever hold at its first
// use and lets the system back it with memory only as pages are touched: growing then never frees and
// refills pages, and every page is zeroed once per search, not once per growth. The range is marked for
// huge pages where the system offers them, so a 30 MB file takes a few dozen page faults instead of
// thousands. Where the system refuses the range (strict overcommit accounting), the buffer falls back to
// blocks of just the size needed.
#pragma once

#include <cstddef>

namespace platform {

class FileBuffer {
 public:
  // `largest`: the most bytes Reserve will ever be asked for.
  explicit FileBuffer(size_t largest) : largest_(largest) {}
  ~FileBuffer();
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;

  // Makes room for at least `bytes` bytes (at most `largest`). Growing may keep none of the old content.
  // False when the memory cannot be had; the buffer is then empty (capacity 0).
  bool Reserve(size_t bytes);
  char* Data() const { return data_; }
  size_t Capacity() const { return capacity_; }
  // Gives the pages beyond the first `keep` bytes (rounded up to a huge page) back to the system; the
  // capacity stays, and those pages come back zeroed when touched again. For after a file far larger than
  // most, so that a buffer does not hold the memory of the largest file for the rest of the search.
  void GiveBackAbove(size_t keep);

 private:
  void Release();

  const size_t largest_;
  char* data_ = nullptr;
  size_t capacity_ = 0;
  bool triedWholeRange_ = false;
};

}  // namespace platform
