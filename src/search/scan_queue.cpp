#include "search/scan_queue.h"

#include <algorithm>
#include <chrono>

#include "search/shared_state.h"

void ScanQueue::Push(std::string path, platform::Event& stop) {
  std::unique_lock<std::mutex> guard(lock_);
  paths_.push_back(std::move(path));
  arrived_.notify_one();
  // The walk must not run far ahead of the scanning; the wait ends as soon as the scanner has caught up to
  // half the bound, so neither thread sleeps while the other has work for it, or when the search is stopped.
  if (paths_.size() <= kSoftBound) return;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(100);
  for (Clock::time_point now = Clock::now();
       paths_.size() > kSoftBound / 2 && !stop.IsSet() && now < deadline; now = Clock::now()) {
    taken_.wait_until(guard, std::min(deadline, now + kStopLookStep));
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
