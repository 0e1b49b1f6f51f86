// A notification target for engine tests: it takes over every record the moment it is posted (like a
// window that keeps up with any flood of hits) and remembers what arrived, in order. With `handsBack` it
// keeps a copy of each text hit and hands the record itself back for reuse, as the console does.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "search/found.h"
#include "search/notify.h"
#include "search/shared_state.h"

class CollectNotify : public NotifyTarget {
 public:
  explicit CollectNotify(SearchShared& shared) : shared_(shared) {}

  void Post(Notification n) override {
    std::lock_guard<std::mutex> guard(lock_);
    searches.push_back(n.search);
    if (n.msg == kMsgTextHit) {
      auto hit = TakeTextHit(n);
      if (handsBack) {
        textHits.push_back(std::make_unique<FOUND_M>(*hit));
        handedBack_.push_back(std::move(hit));
      } else {
        textHits.push_back(std::move(hit));
      }
      shared_.pending.Handled();
    } else if (n.msg == kMsgNameHit) {
      nameHits.push_back(TakeNameHit(n));
      shared_.pending.Handled();
    } else if (n.msg == kMsgSearchEnd) {
      ends.push_back(EndCode(n));
      endDetail = EndMessage(n);
      ended_.notify_all();
    } else if (n.msg == kMsgProgress) {
      ++progressCount;
    }
  }
  void DropPending(unsigned) override {}
  void Reclaim(std::vector<std::unique_ptr<FOUND_M>>& spares, size_t most) override {
    std::lock_guard<std::mutex> guard(lock_);
    for (; !handedBack_.empty() && spares.size() < most; handedBack_.pop_back(), ++reclaimed) {
      spares.push_back(std::move(handedBack_.back()));
    }
  }

  // Waits until `count` end notifications in all have arrived (a search that runs to its end posts one).
  void WaitForEnds(size_t count) {
    std::unique_lock<std::mutex> guard(lock_);
    ended_.wait(guard, [&] { return ends.size() >= count; });
  }
  bool WantsUtf8Lines() const override { return utf8Lines; }
  bool WantsProgress() const override { return wantsProgress; }
  bool TakesUtf8LinesOnly() const override { return utf8LinesOnly; }

  // "file:line:text" of every text hit (file name and text in UTF-8), sorted.
  std::vector<std::string> TextHitLines() const {
    std::vector<std::string> lines;
    for (const auto& hit : textHits) {
      lines.push_back(platform::Utf8FromCp932(hit->FileName()) + ":" + hit->lineNumberText + ":" +
                      platform::Utf8FromCp932(hit->lineText));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  // Names of the name hits (code page 932), in arrival order.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& hit : nameHits) names.push_back(hit->name);
    return names;
  }

  std::vector<std::unique_ptr<FOUND_M>> textHits;
  std::vector<std::unique_ptr<FOUND_F>> nameHits;
  std::vector<int> ends;
  std::string endDetail;
  int progressCount = 0;
  std::vector<uint64_t> searches;  // the search identity of every notification, in arrival order
  bool utf8Lines = false;          // set before the search: ask for the lines of UTF-8 files as they stand
  bool utf8LinesOnly = false;  // ... and take nothing else of them (their code page 932 form may be empty)
  bool handsBack = false;      // set before the search: hand text-hit records back for reuse
  bool wantsProgress = true;   // set before the search: the front end shows the current-folder text
  size_t reclaimed = 0;        // records the search took back for reuse

 private:
  SearchShared& shared_;
  std::mutex lock_;
  std::condition_variable ended_;
  std::vector<std::unique_ptr<FOUND_M>> handedBack_;  // guarded by lock_
};
