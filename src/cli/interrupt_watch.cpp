#include "cli/interrupt_watch.h"

#include <pthread.h>

#include "cli/console_notify.h"

namespace {

void Ignore(int) {}

}  // namespace

InterruptWatch::InterruptWatch(ConsoleNotify& notify) {
  // A handler of our own, so that a SIGINT the parent told us to ignore is still delivered to the watch
  // (an ignored signal is discarded even while it is blocked).
  struct sigaction action = {};
  action.sa_handler = Ignore;
  sigaction(SIGINT, &action, nullptr);
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, &oldMask_);
  thread_ = std::thread([this, &notify, interrupt] {
    for (;;) {
      int signal = 0;
      if (sigwait(&interrupt, &signal) != 0) continue;
      if (done_.load()) return;
      interrupted_.store(true);
      notify.WakeReader();
    }
  });
}

InterruptWatch::~InterruptWatch() {
  done_.store(true);
  pthread_kill(thread_.native_handle(), SIGINT);
  thread_.join();
  pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
}
