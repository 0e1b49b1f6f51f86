#include "search/scan_queue.h"

#include <chrono>

void ScanQueue::Push(std::string path, platform::Event& stop) {
  std::unique_lock<std::mutex> guard(lock_);
  paths_.push_back(std::move(path));
  arrived_.notify_one();
  // The walk must not run far ahead of the scanning; the wait ends as soon as the scanner has caught up to
  // half the bound, so neither thread sleeps while the other has work for it.
  if (paths_.size() > kSoftBound && !stop.IsSet()) {
    taken_.wait_for(guard, std::chrono::milliseconds(100), [&] { return paths_.size() <= kSoftBound / 2; });
  }
}

bool ScanQueue::Pop(std::string& path, uint64_t& place) {
  std::unique_lock<std::mutex> guard(lock_);
  if (paths_.empty() && !arrived_.wait_for(guard, std::chrono::milliseconds(64), [&] { return !paths_.empty(); }))
    return false;
  if (paths_.front().empty()) {
    path.clear();
    return true;
  }
  path = std::move(paths_.front());
  paths_.pop_front();
  place = taken_count_++;
  if (paths_.size() == kSoftBound / 2) taken_.notify_one();
  return true;
}

void ScanQueue::Clear() {
  std::lock_guard<std::mutex> guard(lock_);
  paths_.clear();
  taken_.notify_all();
}
