#include "platform/file_buffer.h"

#include <sys/mman.h>

#include <cstdint>

namespace platform {
namespace {

constexpr size_t kStep = size_t{2} << 20;  // one huge page

size_t RoundUp(size_t bytes) {
  return (bytes + kStep - 1) / kStep * kStep;
}

// Maps `bytes` (a multiple of kStep) of fresh memory at a kStep boundary, so the whole block can be
// backed by huge pages; nullptr when the system refuses.
char* MapAligned(size_t bytes) {
  void* raw = mmap(nullptr, bytes + kStep, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  auto start = reinterpret_cast<uintptr_t>(raw);
  uintptr_t aligned = (start + kStep - 1) / kStep * kStep;
  size_t head = aligned - start;
  if (head != 0) munmap(raw, head);
  size_t tail = kStep - head;
  if (tail != 0) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  // Advice only: without huge pages the block works the same, with more page faults.
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<char*>(aligned);
}

}  // namespace

FileBuffer::~FileBuffer() {
  Release();
}

void FileBuffer::Release() {
  if (data_ != nullptr) munmap(data_, capacity_);
  data_ = nullptr;
  capacity_ = 0;
}

bool FileBuffer::Reserve(size_t bytes) {
  if (bytes <= capacity_) return true;
  if (bytes > largest_ || largest_ > SIZE_MAX - 2 * kStep) return false;
  Release();
  if (!triedWholeRange_) {
    triedWholeRange_ = true;
    size_t whole = RoundUp(largest_);
    data_ = MapAligned(whole);
    if (data_ != nullptr) {
      capacity_ = whole;
      return true;
    }
  }
  size_t rounded = RoundUp(bytes);
  data_ = MapAligned(rounded);
  if (data_ == nullptr) return false;
  capacity_ = rounded;
  return true;
}

void FileBuffer::GiveBackAbove(size_t keep) {
  const size_t kept = RoundUp(keep);
  if (data_ != nullptr && kept < capacity_) madvise(data_ + kept, capacity_ - kept, MADV_DONTNEED);
}

}  // namespace platform
