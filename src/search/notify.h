// How the search threads talk to the front end: numbered notifications delivered in posting order to the
// window thread (the GUI) or to the console loop (serquin-cli). The engine never calls a front end in any
// other way.
#pragma once

#include <cstdint>
#include <string>

// The search is over. wParam 0: normal end; 1: the regular expression could not be compiled (the detail
// text carries the library's message). Not posted when the search was stopped by the stop event.
constexpr unsigned kMsgSearchEnd = 0x9001;
// One text hit; wParam owns a FOUND_M released from a std::unique_ptr, re-owned by the receiver.
constexpr unsigned kMsgTextHit = 0x9002;
// One file or folder hit; wParam owns a FOUND_F, likewise.
constexpr unsigned kMsgNameHit = 0x9003;
// The current-folder text has changed; receivers may collapse queued ones into one.
constexpr unsigned kMsgProgress = 0x9004;

// How far the search may run ahead of its front end: after a batch of posted hits it waits while more than
// `waitAbove` are unhandled, until at most `resumeAt` are left.
struct HitBacklog {
  int waitAbove = 64;
  int resumeAt = 4;
};

class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // Queues one notification for the receiving thread; never blocks for long and never fails. `detail`
  // is empty except for the regular-expression message of a failed search.
  virtual void Post(unsigned msg, uintptr_t wParam, const std::string& detail) = 0;
  // Receiving side: removes every queued notification `msg` (used for the progress notifications).
  virtual void DropPending(unsigned msg) = 0;
  // Search side: the search is about to wait until the receiver has handled the hits it holds, so whatever
  // the target still keeps back must be delivered now. Targets that deliver every post at once need nothing.
  virtual void Flush() {}
  // The backlog the search keeps to. A window takes hits one message at a time, and a short backlog keeps
  // its message queue from flooding; a reader that takes them in batches on its own thread allows more.
  virtual HitBacklog Backlog() const { return {}; }
  // True when the front end prints UTF-8 and wants the line of a UTF-8 file as the file holds it, besides
  // its code page 932 form: it then needs no conversion back and loses no character the code page lacks.
  virtual bool WantsUtf8Lines() const { return false; }
};
