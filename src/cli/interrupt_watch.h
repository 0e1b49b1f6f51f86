// Ctrl+C for serquin-cli. SIGINT is blocked in every thread and taken by a thread of its own, so that it
// interrupts no system call of the search or of the output, and the reader is woken the moment it comes
// instead of at its next look at a flag.
#pragma once

#include <signal.h>

#include <atomic>
#include <thread>

class ConsoleNotify;

class InterruptWatch {
 public:
  // Blocks SIGINT in the calling thread (and so in every thread it starts from now on) and starts watching
  // for it; each SIGINT marks the run interrupted and wakes `notify`'s reader. Make it before any thread.
  explicit InterruptWatch(ConsoleNotify& notify);
  // Stops watching and restores the calling thread's signal mask.
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  bool Interrupted() const { return interrupted_.load(); }

 private:
  sigset_t oldMask_;
  std::atomic<bool> interrupted_{false};
  std::atomic<bool> done_{false};
  std::thread thread_;
};
