// How the search threads talk to the front end: numbered notifications delivered in posting order to the
// window thread (the GUI) or to the console loop (serquin-cli). The engine never calls a front end in any
// other way. Every notification carries the identity of the search that posted it, so a front end that
// starts a new search right after stopping one can drop what the earlier one left in its queue.
//
// A hit notification owns its record until the receiver takes it; the decoding functions below are the
// only place that turns the message word back into a record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct FOUND_F;
struct FOUND_M;
namespace platform {
class Event;
}

// The search is over. wParam 0: normal end; 1: the regular expression could not be compiled (the detail
// text carries the library's message). Not posted when the search was stopped by the stop event.
constexpr unsigned kMsgSearchEnd = 0x9001;
// One text hit; wParam owns a FOUND_M.
constexpr unsigned kMsgTextHit = 0x9002;
// One file or folder hit; wParam owns a FOUND_F.
constexpr unsigned kMsgNameHit = 0x9003;
// The current-folder text has changed; receivers may collapse queued ones into one.
constexpr unsigned kMsgProgress = 0x9004;

// End codes of kMsgSearchEnd.
constexpr int kEndNormal = 0;
constexpr int kEndRegexFailed = 1;

// One posted notification. Moving it moves the record it owns; copying is not allowed, so a record never
// has two owners.
struct Notification {
  unsigned msg = 0;
  uintptr_t wParam = 0;  // a hit's record (owned), an end code, or 0
  uint64_t search = 0;   // the identity of the search that posted it
  std::string detail;    // the regular-expression message of a failed search, else empty

  Notification() = default;
  Notification(unsigned m, uintptr_t w, uint64_t s, std::string d = {})
      : msg(m), wParam(w), search(s), detail(std::move(d)) {}
  // A hit's record passes to the new notification; `other` keeps none.
  Notification(Notification&& other) noexcept
      : msg(other.msg), wParam(other.wParam), search(other.search), detail(std::move(other.detail)) {
    if (other.IsHit()) other.wParam = 0;
  }
  Notification& operator=(Notification&& other) noexcept;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  // Frees a record that nobody took.
  ~Notification();

  bool IsHit() const { return msg == kMsgTextHit || msg == kMsgNameHit; }
};

// Building notifications on the search side: the record is released into the notification.
Notification TextHitNotification(std::unique_ptr<FOUND_M> hit, uint64_t search);
Notification NameHitNotification(std::unique_ptr<FOUND_F> hit, uint64_t search);
Notification EndNotification(int code, uint64_t search, std::string message = {});
Notification ProgressNotification(uint64_t search);

// Receiving side. The Take functions move the record out (null when the notification holds none of that
// kind); the plain ones lend it and leave the notification its owner.
std::unique_ptr<FOUND_M> TakeTextHit(Notification& n);
std::unique_ptr<FOUND_F> TakeNameHit(Notification& n);
const FOUND_M* TextHitOf(const Notification& n);
const FOUND_F* NameHitOf(const Notification& n);
// Frees the record of a notification that is dropped unread; the notification then holds none.
void FreeRecord(Notification& n);
// The end code of kMsgSearchEnd (kEndNormal, kEndRegexFailed) and the regular-expression message.
inline int EndCode(const Notification& n) {
  return static_cast<int>(n.wParam);
}
inline const std::string& EndMessage(const Notification& n) {
  return n.detail;
}

// How far the search may run ahead of its front end: after a batch of posted hits it waits while more than
// `waitAbove` are unhandled, until at most `resumeAt` are left.
struct HitBacklog {
  int waitAbove = 64;
  int resumeAt = 4;
};

class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // Queues one notification for the receiving thread, taking over its record; never blocks for long and
  // never fails.
  virtual void Post(Notification n) = 0;
  // Queues a run of notifications in their order, as that many Posts would, and empties `run` (keeping its
  // capacity). Once `stop` is set nothing more of the run is queued, as a search posts nothing after a
  // stop. The scanning threads post their text hits in runs; a target that can queue a run under one lock
  // and with one wake-up overrides this, the others get one Post each.
  virtual void PostAll(std::vector<Notification>& run, const platform::Event& stop);
  // Receiving side: removes every queued notification `msg` (used for the progress notifications).
  virtual void DropPending(unsigned msg) = 0;
  // Search side: the search is about to wait until the receiver has handled the hits it holds, so whatever
  // the target still keeps back must be delivered now. Targets that deliver every post at once need nothing.
  virtual void Flush() {}
  // Search side: moves text-hit records that the front end has handled and handed back into `spares`, up to
  // `most` in all (the rest are freed), so that new hits can be written into them (FillTextHit) instead of
  // allocating. Targets whose front end keeps its records (a window's list) hand back none.
  virtual void Reclaim(std::vector<std::unique_ptr<FOUND_M>>& spares, size_t most);
  // False when the front end shows no current-folder text (a console run without progress): the search
  // then neither stores the text nor posts its notifications.
  virtual bool WantsProgress() const { return true; }
  // The backlog the search keeps to. A window takes hits one message at a time, and a short backlog keeps
  // its message queue from flooding; a reader that takes them in batches on its own thread allows more.
  virtual HitBacklog Backlog() const { return {}; }
  // True when the front end prints UTF-8 and wants the line of a UTF-8 file as the file holds it, besides
  // its code page 932 form: it then needs no conversion back and loses no character the code page lacks.
  virtual bool WantsUtf8Lines() const { return false; }
  // With WantsUtf8Lines: true when the front end uses nothing but that UTF-8 line of a UTF-8 file's hit.
  // Such a hit may then carry an empty code page 932 line text, which saves converting every line.
  virtual bool TakesUtf8LinesOnly() const { return false; }
};
