#include "results/viewer_highlight.h"

#include <algorithm>

#include "matching/breg.h"
#include "matching/mbcs.h"

namespace {

using matching::CharLen;

// The folded value of the character at `p` (length `len`) for the finder: Latin, full-width Latin, Greek
// and Cyrillic capitals become their small letters.
unsigned FinderFold(const unsigned char* p, size_t len) {
  if (len == 1) return p[0] >= 'A' && p[0] <= 'Z' ? p[0] + 0x20u : p[0];
  const unsigned code = p[0] * 256u + p[1];
  if (code >= 0x8260 && code <= 0x8279) return code + 0x21;  // Ａ-Ｚ to ａ-ｚ
  if (code >= 0x839F && code <= 0x83B6) return code + 0x20;  // Α-Ω to α-ω
  if (code >= 0x8440 && code <= 0x844E) return code + 0x30;  // А-Н to а-н
  if (code >= 0x844F && code <= 0x8460) return code + 0x31;  // О-Я to о-я (0x847F is skipped)
  return code;
}

// True when the characters of `pattern` stand at `at` in `text`, compared by the finder's folding.
bool FinderEqualAt(std::string_view text, size_t at, std::string_view pattern, bool ignoreCase) {
  if (text.size() - at < pattern.size()) return false;
  if (!ignoreCase) return text.compare(at, pattern.size(), pattern) == 0;
  const auto* t = reinterpret_cast<const unsigned char*>(text.data()) + at;
  const auto* p = reinterpret_cast<const unsigned char*>(pattern.data());
  for (size_t i = 0; i < pattern.size();) {
    const size_t pl = CharLen(pattern, i);
    const size_t tl = CharLen(text, at + i);
    if (pl == 0 || pl != tl || FinderFold(p + i, pl) != FinderFold(t + i, tl)) return false;
    i += pl;
  }
  return true;
}

}  // namespace

std::vector<HighlightRange> PlainHighlights(std::string_view text, std::string_view pattern, bool ignoreCase) {
  std::vector<HighlightRange> ranges;
  if (pattern.empty()) return ranges;
  // `boundary` walks the characters of the text, so a candidate counts only where a character begins.
  size_t boundary = 0;
  for (size_t i = 0; i < text.size();) {
    if (!ignoreCase) {
      // The exact search jumps to the next candidate and walks the characters up to it.
      const size_t found = text.find(pattern, i);
      if (found == std::string_view::npos) break;
      while (boundary < found) boundary += std::max<size_t>(1, CharLen(text, boundary));
      if (boundary != found) {
        i = found + 1;
        continue;
      }
      ranges.push_back({found, found + pattern.size()});
      i = boundary = found + pattern.size();
      continue;
    }
    if (!FinderEqualAt(text, i, pattern, true)) {
      i += std::max<size_t>(1, CharLen(text, i));
      continue;
    }
    const size_t end = i + pattern.size();
    if (matching::MbsICmp(text.substr(i, pattern.size()), pattern) == 0) ranges.push_back({i, end});
    i = end;
  }
  return ranges;
}

std::vector<HighlightRange> RegexHighlights(std::string_view text, const std::string& searchString,
                                            bool ignoreCase, std::stop_token stopping) {
  std::vector<HighlightRange> ranges;
  matching::CBreg regex;
  if (regex.Compile(searchString, ignoreCase)) return ranges;
  const char* const base = text.data();
  size_t lineStart = 0;
  while (lineStart < text.size() && !stopping.stop_requested()) {
    size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    const char* at = base + lineStart;
    const char* const end = base + lineEnd;
    while (at < end) {
      const char* start = nullptr;
      const char* stop = nullptr;
      if (regex.Match(at, end, &start, &stop) <= 0 || start < at || stop < start || stop > end) break;
      if (start == end) break;  // an empty match at the line's end: nothing more on this line
      if (stop > start) {
        ranges.push_back({static_cast<size_t>(start - base), static_cast<size_t>(stop - base)});
        at = stop;
      } else {
        // An empty match colours nothing: the next search starts one character after it.
        at = start + std::max<size_t>(1, CharLen(text, static_cast<size_t>(start - base)));
      }
    }
    lineStart = lineEnd;
    if (lineStart < text.size() && text[lineStart] == '\r') ++lineStart;
    if (lineStart < text.size() && text[lineStart] == '\n') ++lineStart;
  }
  return ranges;
}
