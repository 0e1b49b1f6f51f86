#include "search/notify.h"

#include "platform/event.h"
#include "search/found.h"

Notification& Notification::operator=(Notification&& other) noexcept {
  if (this != &other) {
    FreeRecord(*this);
    msg = other.msg;
    wParam = other.wParam;
    search = other.search;
    detail = std::move(other.detail);
    // The record now belongs to this notification alone.
    if (other.IsHit()) other.wParam = 0;
  }
  return *this;
}

void NotifyTarget::Reclaim(std::vector<std::unique_ptr<FOUND_M>>&, size_t) {}

void NotifyTarget::PostAll(std::vector<Notification>& run, const platform::Event& stop) {
  // A front end may stop the search while it takes one of the run.
  for (Notification& n : run) {
    if (stop.IsSet()) break;
    Post(std::move(n));
  }
  run.clear();
}

Notification::~Notification() {
  FreeRecord(*this);
}

Notification TextHitNotification(std::unique_ptr<FOUND_M> hit, uint64_t search) {
  return Notification(kMsgTextHit, reinterpret_cast<uintptr_t>(hit.release()), search);
}

Notification NameHitNotification(std::unique_ptr<FOUND_F> hit, uint64_t search) {
  return Notification(kMsgNameHit, reinterpret_cast<uintptr_t>(hit.release()), search);
}

Notification EndNotification(int code, uint64_t search, std::string message) {
  return Notification(kMsgSearchEnd, static_cast<uintptr_t>(code), search, std::move(message));
}

Notification ProgressNotification(uint64_t search) {
  return Notification(kMsgProgress, 0, search);
}

std::unique_ptr<FOUND_M> TakeTextHit(Notification& n) {
  if (n.msg != kMsgTextHit) return nullptr;
  auto* hit = reinterpret_cast<FOUND_M*>(n.wParam);
  n.wParam = 0;
  return std::unique_ptr<FOUND_M>(hit);
}

std::unique_ptr<FOUND_F> TakeNameHit(Notification& n) {
  if (n.msg != kMsgNameHit) return nullptr;
  auto* hit = reinterpret_cast<FOUND_F*>(n.wParam);
  n.wParam = 0;
  return std::unique_ptr<FOUND_F>(hit);
}

const FOUND_M* TextHitOf(const Notification& n) {
  return n.msg == kMsgTextHit ? reinterpret_cast<const FOUND_M*>(n.wParam) : nullptr;
}

const FOUND_F* NameHitOf(const Notification& n) {
  return n.msg == kMsgNameHit ? reinterpret_cast<const FOUND_F*>(n.wParam) : nullptr;
}

void FreeRecord(Notification& n) {
  // Most notifications freed are moved-from ones that hold no record any more.
  if (n.wParam == 0 || !n.IsHit()) return;
  // Taking the record and letting it go frees it.
  TakeTextHit(n);
  TakeNameHit(n);
}
