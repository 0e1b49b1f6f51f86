// Drives notifications through every way a front end meets them, in an order the bytes choose: hits and
// ends are made, moved over one another, lent, taken and dropped. A record must be freed exactly once
// whatever happens, and a lent record must be the one that was posted (AddressSanitizer and
// LeakSanitizer check the first, the fuzzer the second).
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "search/found.h"
#include "search/notify.h"

namespace {

constexpr size_t kSlots = 4;

void Check(bool condition) {
  if (!condition) abort();
}

// Lends the slot's record and checks it is the one the slot was given (its line number is the slot's tag).
void CheckLent(const Notification& n, const std::array<int, kSlots>& tags, size_t slot) {
  if (const FOUND_M* text = TextHitOf(n)) Check(text->lineNumber == tags[slot]);
  if (const FOUND_F* name = NameHitOf(n)) Check(name->fileCount == tags[slot]);
  Check(n.wParam == 0 || n.IsHit() || n.msg == kMsgSearchEnd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::array<Notification, kSlots> slots;
  std::array<int, kSlots> tags{};
  int nextTag = 1;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const size_t a = data[i] % kSlots, b = (data[i] / kSlots) % kSlots;
    switch (data[i + 1] % 9) {
      case 0: {
        auto hit = std::make_unique<FOUND_M>();
        hit->lineNumber = tags[a] = nextTag++;
        slots[a] = TextHitNotification(std::move(hit), data[i + 1]);
        break;
      }
      case 1: {
        auto hit = std::make_unique<FOUND_F>();
        hit->fileCount = tags[a] = nextTag++;
        slots[a] = NameHitNotification(std::move(hit), data[i + 1]);
        break;
      }
      case 2:
        slots[a] = EndNotification(data[i + 1] & 1, 7, "message");
        break;
      case 3:
        slots[a] = ProgressNotification(3);
        break;
      case 4:
        if (a != b) tags[a] = tags[b];
        slots[a] = std::move(slots[b]);
        break;
      case 5:
        if (auto hit = TakeTextHit(slots[a])) Check(hit->lineNumber == tags[a]);
        Check(TextHitOf(slots[a]) == nullptr);
        break;
      case 6:
        if (auto hit = TakeNameHit(slots[a])) Check(hit->fileCount == tags[a]);
        Check(NameHitOf(slots[a]) == nullptr);
        break;
      case 7:
        FreeRecord(slots[a]);
        Check(TextHitOf(slots[a]) == nullptr && NameHitOf(slots[a]) == nullptr);
        break;
      default:
        CheckLent(slots[a], tags, a);
        break;
    }
  }
  return 0;
}
