#include "results/viewer_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "matching/code_convert.h"
#include "platform/cp932.h"

namespace {

// The most bytes of a file the viewer reads (2^31 - 17).
constexpr size_t kMaxViewerFile = 2147483631u;

template <class Ch>
bool IsLineEnd(Ch c) {
  return c == Ch('\r') || c == Ch('\n');
}

// The position after the line end at `i` (CR LF, lone CR or lone LF); `i` itself when there is none.
template <class Ch>
size_t AfterLineEnd(std::basic_string_view<Ch> text, size_t i) {
  if (i < text.size() && text[i] == Ch('\r')) {
    ++i;
    if (i < text.size() && text[i] == Ch('\n')) ++i;
  } else if (i < text.size() && text[i] == Ch('\n')) {
    ++i;
  }
  return i;
}

// The start of the line after the one that holds `i` (the text's end when it is the last).
template <class Ch>
size_t NextLine(std::basic_string_view<Ch> text, size_t i) {
  while (i < text.size() && !IsLineEnd(text[i])) ++i;
  return AfterLineEnd(text, i);
}

// Skips `lines` whole lines from `i`.
template <class Ch>
size_t SkipLines(std::basic_string_view<Ch> text, size_t i, int64_t lines) {
  for (; lines > 0 && i < text.size(); --lines) i = NextLine(text, i);
  return i;
}

template <class Ch>
ViewerCut CutLinesOf(std::basic_string_view<Ch> text, int line, int before, int after) {
  const int64_t first = std::max<int64_t>(1, int64_t{line} - before);
  ViewerCut cut;
  cut.begin = SkipLines(text, 0, first - 1);
  cut.end = SkipLines(text, cut.begin, int64_t{line} + after - first + 1);
  cut.hitLine = static_cast<int>(int64_t{line} - first + 1);
  return cut;
}

template <class Ch>
Ch Upper(Ch c) {
  return c >= Ch('a') && c <= Ch('z') ? Ch(c - 'a' + 'A') : c;
}

// 1 when a "<HR>" tag starts at `i`, 2 for "<HR " (a tag with attributes), 0 for anything else.
template <class Ch>
int HrTagAt(std::basic_string_view<Ch> text, size_t i) {
  if (text.size() - i < 4 || text[i] != Ch('<') || Upper(text[i + 1]) != Ch('H') ||
      Upper(text[i + 2]) != Ch('R')) {
    return 0;
  }
  return text[i + 3] == Ch('>') ? 1 : text[i + 3] == Ch(' ') ? 2 : 0;
}

template <class Ch>
ViewerCut CutHrRangeOf(std::basic_string_view<Ch> text, int line) {
  size_t start = 0;
  int startLine = 1;
  bool tagSeen = false;
  size_t i = 0;
  int current = 1;
  // Tags on the lines before the hit line move the start of the range.
  while (current < line && i < text.size()) {
    if (int tag = HrTagAt(text, i)) {
      i += 4;
      if (tag == 2) {
        while (i < text.size() && !IsLineEnd(text[i]) && text[i] != Ch('>')) ++i;
        if (i < text.size() && text[i] == Ch('>')) ++i;
      }
      start = i;
      startLine = current;
      tagSeen = true;
    } else if (IsLineEnd(text[i])) {
      i = AfterLineEnd(text, i);
      ++current;
    } else {
      ++i;
    }
  }
  ViewerCut cut;
  // A tag that ends its line starts the range on the next line.
  if (tagSeen && start < text.size() && IsLineEnd(text[start])) {
    start = AfterLineEnd(text, start);
    ++startLine;
  }
  cut.begin = start;
  cut.hitLine = line - startLine + 1;
  // From the hit line on, the next tag ends the range, even one before the hit on its own line.
  size_t end = std::max(i, start);
  while (end < text.size() && HrTagAt(text, end) == 0) ++end;
  cut.end = end;
  return cut;
}

size_t ReadAll(int fd, char* buffer, size_t length) {
  size_t done = 0;
  while (done < length) {
    ssize_t n = read(fd, buffer + done, length - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

// The part of the text the request shows: its range, and within it, for a first part, the lines around
// the hit.
template <class Ch>
ViewerCut CutFor(std::basic_string_view<Ch> text, const ViewerRequest& request) {
  ViewerCut cut{0, text.size(), request.line};
  if (request.range == 1) cut = CutLinesOf(text, request.line, request.before, request.after);
  if (request.range == 2) cut = CutHrRangeOf(text, request.line);
  if (request.partAfter > 0) {
    const ViewerCut part = CutLinesOf(text.substr(cut.begin, cut.end - cut.begin), cut.hitLine,
                                      request.partBefore, request.partAfter - 1);
    cut = {cut.begin + part.begin, cut.begin + part.end, part.hitLine};
  }
  return cut;
}

// The shown part of UTF-16 text: cut in 16-bit units, then converted.
std::string Utf16Part(std::string_view bytes, const ViewerRequest& request, int& hitLine) {
  const std::u16string units = CCodeConvert::Utf16Units(bytes.data(), bytes.size(), request.charCode == 6);
  const std::u16string_view text(units);
  const ViewerCut cut = CutFor(text, request);
  hitLine = cut.hitLine;
  return platform::Cp932FromUtf16(text.substr(cut.begin, cut.end - cut.begin));
}

// The shown part of text in any other code: cut in bytes, then converted.
std::string BytePart(std::string_view bytes, const ViewerRequest& request, int& hitLine) {
  const std::string_view text = bytes.substr(0, std::min(bytes.size(), bytes.find('\0')));
  const ViewerCut cut = CutFor(text, request);
  hitLine = cut.hitLine;
  std::string sjis;
  CCodeConvert::ToSjis(request.charCode, text.substr(cut.begin, cut.end - cut.begin), sjis);
  return sjis;
}

}  // namespace

ViewerCut CutLines(std::string_view text, int line, int before, int after) {
  return CutLinesOf(text, line, before, after);
}
ViewerCut CutLines(std::u16string_view text, int line, int before, int after) {
  return CutLinesOf(text, line, before, after);
}
ViewerCut CutHrRange(std::string_view text, int line) {
  return CutHrRangeOf(text, line);
}
ViewerCut CutHrRange(std::u16string_view text, int line) {
  return CutHrRangeOf(text, line);
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      out += "\r\n";
    } else if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string DecodeEntities(std::string_view text) {
  struct Entity {
    std::string_view name;
    char character;
  };
  static constexpr Entity kEntities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&nbsp;", ' '}, {"&amp;", '&'}};
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t amp = text.find('&', i);
    out.append(text.substr(i, amp == std::string_view::npos ? std::string_view::npos : amp - i));
    if (amp == std::string_view::npos) break;
    i = amp + 1;
    char decoded = '&';
    for (const Entity& entity : kEntities) {
      if (text.substr(amp, entity.name.size()) == entity.name) {
        decoded = entity.character;
        i = amp + entity.name.size();
        break;
      }
    }
    out += decoded;
  }
  return out;
}

ViewerText MakeViewerText(std::string_view bytes, const ViewerRequest& request) {
  ViewerText shown;
  if (request.range < 0 || request.range > 2) return shown;
  int hitLine = request.line;
  const bool utf16 = request.charCode == 5 || request.charCode == 6;
  shown.text = WithCrLf(utf16 ? Utf16Part(bytes, request, hitLine) : BytePart(bytes, request, hitLine));
  if (request.range == 2) shown.text = DecodeEntities(shown.text);
  shown.topLine = hitLine;
  shown.loaded = true;
  return shown;
}

namespace {

FileStamp StampOf(const struct stat& st) {
  auto ns = [](const timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
          static_cast<uint64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

}  // namespace

ViewerFile ReadViewerFile(const std::string& nativePath) {
  ViewerFile file;
  // Without blocking, so that a fifo put where the file was is refused rather than waited on.
  const int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return file;
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    const size_t length = std::min<uint64_t>(static_cast<uint64_t>(st.st_size), kMaxViewerFile);
    // Not zeroed first: the file's bytes fill it, and a 40 MB file is read at every selection.
    file.data.reset(new (std::nothrow) char[length + 1]);
    // A file may shrink while it is read: what was read is the text.
    if (file.data) file.size = ReadAll(fd, file.data.get(), length);
    file.stamp = StampOf(st);
  }
  close(fd);
  return file;
}

FileStamp StampOf(const std::string& nativePath) {
  struct stat st;
  return stat(nativePath.c_str(), &st) == 0 ? StampOf(st) : FileStamp{};
}
