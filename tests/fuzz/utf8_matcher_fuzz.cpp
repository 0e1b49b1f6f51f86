// Fuzzes the Unicode matcher: the first byte chooses case folding and the search string's length, the next
// bytes are the search string, the rest is the text. The candidates must stop in every line the matcher
// holds (the scan looks at no other line), folding must be idempotent, a string must hold itself, and the
// UTF-16 to UTF-8 conversion of the same bytes must give well-formed UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "matching/code_convert.h"
#include "matching/utf8_matcher.h"
#include "platform/cp932.h"

namespace {

using matching::CUtf8Matcher;

void Check(bool ok) {
  if (!ok) std::abort();
}

// The lines as the scan counts them: a break at the very end starts no further line.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void CheckCandidates(const CUtf8Matcher& matcher, std::string_view text) {
  std::string scratch;
  std::vector<bool> expect;
  for (std::string_view line : Lines(text)) expect.push_back(matcher.Holds(line, scratch));
  std::vector<bool> seen(expect.size(), false);
  matching::Utf8Candidates candidates(matcher, text.data(), text.size());
  size_t line = 0, lineStart = 0;
  for (const char* cursor = text.data(); const char* hit = candidates.Next(cursor);) {
    const size_t at = static_cast<size_t>(hit - text.data());
    Check(hit >= cursor && at < text.size());
    for (size_t nl = text.find('\n', lineStart); nl != std::string_view::npos && nl < at;
         nl = text.find('\n', lineStart)) {
      ++line;
      lineStart = nl + 1;
    }
    seen[line] = true;
    const size_t end = text.find('\n', at);
    if (end == std::string_view::npos) break;
    cursor = text.data() + end + 1;
    ++line;
    lineStart = end + 1;
  }
  for (size_t i = 0; i < expect.size(); ++i) Check(!expect[i] || seen[i]);
}

void CheckWellFormedUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const int length = platform::Utf8SequenceAt(text, i, code);
    Check(length > 0);
    i += static_cast<size_t>(length);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool ignoreCase = data[0] & 0x80;
  const size_t patternLength = std::min<size_t>(data[0] & 0x0F, size - 1);
  const std::string_view pattern(reinterpret_cast<const char*>(data + 1), patternLength);
  std::string_view text(reinterpret_cast<const char*>(data + 1 + patternLength), size - 1 - patternLength);
  text = text.substr(0, text.find('\0'));  // scanned text ends at its first zero byte

  const CUtf8Matcher matcher(pattern, ignoreCase);
  CheckCandidates(matcher, text);

  std::string folded, twice, scratch;
  matching::FoldUtf8(text, ignoreCase, folded);
  matching::FoldUtf8(folded, ignoreCase, twice);
  Check(folded == twice);
  const std::string_view cut = pattern.substr(0, pattern.find('\0'));
  Check(matcher.Holds(cut, scratch));
  Check(matcher.Holds(std::string(text) + "\n" + std::string(cut), scratch));

  CheckWellFormedUtf8(matching::CCodeConvert::Utf16ToUtf8(text.data(), text.size(), data[0] & 0x40));
  return 0;
}
