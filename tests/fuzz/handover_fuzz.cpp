// The hand-over on arbitrary bytes, from both ends. As a received frame: decoding never crashes, and a
// frame that decodes is exactly the encoding of what it decoded to, so nothing is half read. As the
// arguments of a second start (split at NUL bytes): the built hand-over encodes, decodes to itself, and
// its text applies as a command line without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/handover.h"
#include "app/history_list.h"
#include "cmdline/apply_command_line.h"

namespace {

constexpr int64_t kNow = 1715736030;

void Check(bool condition) {
  if (!condition) abort();
}

std::vector<std::string> SplitAtNul(std::string_view bytes) {
  std::vector<std::string> args;
  size_t start = 0;
  for (size_t i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || bytes[i] == '\0') {
      args.emplace_back(bytes.substr(start, i - start));
      start = i + 1;
    }
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (std::optional<HandOver> decoded = DecodeHandOver(bytes)) Check(EncodeHandOver(*decoded) == bytes);
  if (std::optional<size_t> frameSize = HandOverFrameSize(bytes)) Check(*frameSize <= kMaxHandOverSize);

  // A working folder that does not exist keeps the relative paths from naming real entries.
  HandOver built = BuildHandOver(SplitAtNul(bytes), "/nonexistent-serquin-fuzz");
  std::string frame = EncodeHandOver(built);
  Check(!frame.empty());
  std::optional<HandOver> received = DecodeHandOver(frame);
  Check(received && *received == built);

  SearchConditions conditions;
  HistoryList locations(HistoryKind::Location);
  HistoryList patterns(HistoryKind::Pattern);
  ApplyCommandLine(received->text, conditions, locations, patterns, kNow);
  return 0;
}
