// The queue of file paths between the walking thread and the scanning thread. An empty path is the end
// marker. The queue is bounded softly: the walker waits while it holds more than kSoftBound paths.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "platform/event.h"

class ScanQueue {
 public:
  static constexpr size_t kSoftBound = 255;

  // Walker side: appends a path (or the end marker ""). When the queue then holds more than kSoftBound
  // paths, waits until the scanner has taken some, at most 100 ms, and not at all (or no longer) once `stop`
  // is set. The scanner wakes at once (no polling delay between a path arriving and its scan).
  void Push(std::string path, platform::Event& stop);

  // Scanner side: takes the head path and its place (0 for the first path taken, then 1, 2 ...). Waits
  // at most 64 ms for one to arrive; false when none came (the caller then looks at the stop event and
  // asks again). The end marker stays in the queue, so that every scanner sees it.
  bool Pop(std::string& path, uint64_t& place);

  // Empties the queue (when a search ends or is stopped).
  void Clear();

 private:
  std::mutex lock_;
  std::condition_variable arrived_;
  std::condition_variable taken_;
  std::deque<std::string> paths_;  // guarded by lock_
  uint64_t taken_count_ = 0;       // guarded by lock_: paths taken so far
};
