// Random pattern texts and targets through BMatch: no crash, no read past the target, no hang, and
// every result inside the contract (a match lies inside the target; a message fits its buffer). Also the
// adapter's required literal: a target that matches always holds it, and a UTF-8 target whose conversion
// holds it always holds its UTF-8 form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "bregexp/bregexp.h"
#include "matching/breg.h"
#include "platform/cp932.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr size_t kGuardedBytes = 1 << 16;

// The end of a readable region followed by a page that cannot be read: Oniguruma is not instrumented,
// so a read past a target's end is caught by the fault it takes on that page.
char* GuardedRegionEnd() {
  static char* end = [] {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* region =
        mmap(nullptr, kGuardedBytes + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    Check(region != MAP_FAILED);
    char* guard = static_cast<char*>(region) + kGuardedBytes;
    Check(mprotect(guard, page, PROT_NONE) == 0);
    return guard;
  }();
  return end;
}

// Runs one search over [data, data + size), copied so that it ends right at the guard page, and checks
// what came back. Returns BMatch's result.
int MatchSlice(const std::string& pattern, const uint8_t* data, size_t size, BREGEXP** rx) {
  if (size > kGuardedBytes) return -1;
  char* end = GuardedRegionEnd();
  char* begin = end - size;
  if (size > 0) std::memcpy(begin, data, size);
  char msg[BREGEXP_MESSAGE_SIZE];
  std::memset(msg, 0x7F, sizeof msg);
  const int result = BMatch(pattern.c_str(), begin, end, rx, msg);
  Check(std::memchr(msg, '\0', sizeof msg) != nullptr);
  if (result < 0) {
    Check(msg[0] != '\0');
    return result;
  }
  Check(*rx != nullptr);
  if (result > 0) {
    const char* start = (*rx)->startp[0];
    const char* stop = (*rx)->endp[0];
    Check(start != nullptr && stop != nullptr && begin <= start && start <= stop && stop <= end);
  } else {
    Check((*rx)->startp[0] == nullptr);
  }
  return result;
}

bool Holds(std::string_view text, const std::string& part) {
  return text.find(part) != std::string_view::npos;
}

// The literal the adapter would take from `expression` when the whole target is one line: a target that
// matches holds it, and a UTF-8 target whose conversion matches holds its UTF-8 form.
void CheckLiteral(const std::string& pattern, const std::string& expression, bool ignoreCase,
                  std::string_view target, int result, BREGEXP** rx) {
  const matching::RegexLiteral literal = matching::RequiredLiteral(expression, ignoreCase);
  if (result > 0) Check(Holds(target, literal.sjis));
  if (literal.utf8.empty()) return;
  const std::string converted = platform::Cp932FromUtf8(target);
  if (MatchSlice(pattern, reinterpret_cast<const uint8_t*>(converted.data()), converted.size(), rx) > 0) {
    Check(Holds(target, literal.utf8));
  }
}

}  // namespace

// Input: a control byte, then the expression up to the first 0x00, then the target. The control byte
// picks the flags, and whether the pattern text is taken raw (to exercise its parsing).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t control = data[0];
  ++data;
  --size;
  const auto* zero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t expressionSize = zero != nullptr ? static_cast<size_t>(zero - data) : size;
  const std::string expression(reinterpret_cast<const char*>(data), expressionSize);
  const uint8_t* target = data + expressionSize + (zero != nullptr ? 1 : 0);
  const size_t targetSize = size - expressionSize - (zero != nullptr ? 1 : 0);

  std::string pattern;
  if (control & 0x80) {
    pattern = expression;
  } else {
    const char delimiter = (control & 0x04) ? '\x5c' : '/';
    pattern = std::string("m") + delimiter + expression + delimiter;
    if (control & 0x01) pattern += 'k';
    if (control & 0x02) pattern += 'i';
  }
  BREGEXP* rx = nullptr;
  // The whole target, then its second half with the same record, as the viewer walks a line.
  const int result = MatchSlice(pattern, target, targetSize, &rx);
  // As the adapter builds it: Shift-JIS, and a delimiter the expression does not hold.
  if (!(control & 0x84) && (control & 0x01) && expression.find('/') == std::string::npos) {
    CheckLiteral(pattern, expression, (control & 0x02) != 0,
                 std::string_view(reinterpret_cast<const char*>(target), targetSize), result, &rx);
  }
  MatchSlice(pattern, target + targetSize / 2, targetSize - targetSize / 2, &rx);
  BRegfree(rx);
  return 0;
}
