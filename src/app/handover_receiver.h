// What the running instance's main window offers to the single-instance server: whether it wants single
// instance, whether it may apply a hand-over now, and the two things it does with one.
#pragma once

#include "app/handover.h"

class HandOverReceiver {
 public:
  virtual ~HandOverReceiver() = default;
  // The "MutexF" setting: a second start hands its command line over only when this is on.
  virtual bool WantsSingleInstance() const = 0;
  // A settings dialog is open: a hand-over is then ignored (the window is still raised).
  virtual bool SettingsOpen() const = 0;
  // A search runs: a hand-over is then ignored (the window is still raised).
  virtual bool Searching() const = 0;
  // Restores the window when minimised, raises and activates it.
  virtual void RaiseWindow() = 0;
  // Applies a hand-over's command line, as the window's own start-up does; may start a search.
  virtual void ApplyHandOver(const HandOver& handOver) = 0;
};
