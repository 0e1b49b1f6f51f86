// Keeps the text hits of files scanned side by side in the order of the scan queue. Each file has its place
// (the order in which it left the queue). The file at the head of the order posts its hits as they come;
// a file behind it keeps them until every file before it is done, and the scanner that finishes the head
// file posts what the files after it kept.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/event.h"
#include "search/notify.h"

class ScanOrder {
 public:
  // The kept hits of one file are posted by this (which empties `hits`); true when the search is to stop.
  using PostFn = bool (*)(void* poster, std::vector<Notification>& hits);

  // True when the file at `place` is the head: its hits may be posted at once.
  bool IsHead(uint64_t place);
  // Waits until the file at `place` is the head (a file that keeps too many hits waits instead of
  // keeping more). False when the stop event ended the wait.
  bool WaitForHead(uint64_t place, platform::Event& stop);
  // The file at `place` is done; `kept` holds the hits it kept. Whichever scanner finishes the head file
  // posts, in order, the kept hits of the files after it that are done. True when posting asked to stop.
  bool Finish(uint64_t place, std::vector<Notification> kept, void* poster, PostFn post);

 private:
  std::mutex lock_;
  std::condition_variable advanced_;
  uint64_t head_ = 0;  // guarded by lock_: the place of the first file not yet done
  std::map<uint64_t, std::vector<Notification>> done_;  // guarded by lock_: done behind the head
};
