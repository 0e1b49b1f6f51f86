// The scanning thread: takes the queued paths one by one, reads each file whole into one reused buffer,
// decides its character code and reports every line that holds the search string. Matching runs over the
// raw bytes of the whole buffer, so lines without a match cost no per-line work; only a line that holds a
// match is cut out (and, for a converted code, converted and confirmed in Shift-JIS). For a plain string
// two scanning threads take paths from the same queue, each with its own buffer; the scan order keeps their
// hits in queue order.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "matching/breg.h"
#include "matching/code_convert.h"
#include "matching/mbcs.h"
#include "matching/sboymoo.h"
#include "matching/utf8_matcher.h"
#include "platform/cp932.h"
#include "platform/dir_reader.h"
#include "search/file_text.h"
#include "search/found.h"
#include "search/scan_order.h"
#include "search/search.h"
#include "search/search_conditions.h"
#include "search/shared_state.h"

using matching::CBreg;
using matching::CSboymoo;
using matching::CUtf8Matcher;
using matching::IsTrailAt;

namespace {

// The scans look for the next hit a stretch of this many bytes at a time and look at the stop event
// between stretches, so a stop ends the scan of even the largest file within a stretch's time (a
// millisecond or so); the lines before a hit far ahead are counted a stretch at a time as well.
constexpr size_t kStretch = size_t{1} << 20;

// The regular-expression library gives up on a line that costs it too much (a runaway expression). After
// this many lines given up, the expression is taken to run away on this file's text: the rest of the file
// is abandoned, so that a file of many such lines costs a moment, not minutes, and the search goes on.
constexpr int kRegexGiveUpsPerFile = 4;

#if defined(__x86_64__) && defined(__GNUC__)
// The LFs in [from, to) thirty-two bytes at a time, where the processor has AVX2 (asked once at run time):
// with many hits, counting the lines before them is the scan's largest per-byte cost after the search.
// A CR among the bytes, looked for in the same pass, sets `sawCr` and ends the count within a kilobyte.
__attribute__((target("avx2"))) size_t CountLineFeedsAvx2(const char*& p, const char* to, bool& sawCr) {
  size_t count = 0;
  const __m256i lf = _mm256_set1_epi8('\n'), cr = _mm256_set1_epi8('\r'), zero = _mm256_setzero_si256();
  while (to - p >= 32) {
    const size_t blocks = std::min<size_t>(static_cast<size_t>(to - p) / 32, 32);
    __m256i lanes = zero, crs = zero;
    for (size_t k = 0; k < blocks; ++k, p += 32) {
      const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
      lanes = _mm256_sub_epi8(lanes, _mm256_cmpeq_epi8(block, lf));
      crs = _mm256_or_si256(crs, _mm256_cmpeq_epi8(block, cr));
    }
    if (!_mm256_testz_si256(crs, crs)) {
      sawCr = true;
      return count;
    }
    const __m256i sums = _mm256_sad_epu8(lanes, zero);
    count += static_cast<size_t>(_mm256_extract_epi64(sums, 0)) +
             static_cast<size_t>(_mm256_extract_epi64(sums, 1)) +
             static_cast<size_t>(_mm256_extract_epi64(sums, 2)) +
             static_cast<size_t>(_mm256_extract_epi64(sums, 3));
  }
  return count;
}

// Asked during static initialisation, so the processor model is set up first.
const bool kHasAvx2 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
#endif

// The number of LFs in [from, to), summed in byte lanes like the breaks below. The CRs are looked for in
// the same pass: the first sets `sawCr` and ends the count within a kilobyte (the count then is no line
// count: such text is counted by the rule for all breaks).
size_t CountLineFeeds(const char* from, const char* to, bool& sawCr) {
  size_t count = 0;
  const char* p = from;
#if defined(__x86_64__) && defined(__GNUC__)
  if (kHasAvx2) count += CountLineFeedsAvx2(p, to, sawCr);
  if (sawCr) return count;
#endif
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  while (to - p >= 16) {
    const size_t blocks = std::min<size_t>(static_cast<size_t>(to - p) / 16, 64);
    __m128i lanes = zero, crs = zero;
    for (size_t k = 0; k < blocks; ++k, p += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(block, lf));
      crs = _mm_or_si128(crs, _mm_cmpeq_epi8(block, cr));
    }
    if (_mm_movemask_epi8(crs) != 0) {
      sawCr = true;
      return count;
    }
    const __m128i sums = _mm_sad_epu8(lanes, zero);
    count += static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; p < to && !sawCr; ++p) {
    count += *p == '\n';
    sawCr = *p == '\r';
  }
  return count;
}

void TabsToBlanks(char* begin, char* end) {
  for (char* p = static_cast<char*>(memchr(begin, '\t', end - begin)); p;
       p = static_cast<char*>(memchr(p + 1, '\t', end - p - 1))) {
    *p = ' ';
  }
}

// True when the pattern holds a full-width Latin letter (Ａ-Ｚ, ａ-ｚ), which only the Shift-JIS scan folds.
bool HasFullWidthLetter(const char* sjis) {
  for (const char* p = sjis; *p; p += matching::CharLen(p)) {
    const unsigned code = static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]);
    if (matching::CharLen(p) == 2 &&
        ((code >= 0x8260 && code <= 0x8279) || (code >= 0x8281 && code <= 0x829A))) {
      return true;
    }
  }
  return false;
}

}  // namespace

// One file's scan: the text, its path in both forms and the matchers, with the loop of the plain-string
// scans and the line-by-line regular-expression scan.
class TextScanner {
 public:
  TextScanner(CSearchBase& owner, const std::string& nativePath, int code)
      : owner_(owner), nativePath_(nativePath), code_(code), utf8Text_(code == kCodeUtf8) {}

  // Shift-JIS text (also converted UTF-16): a match must start on a character boundary of its line.
  void ScanSjis(char* text, size_t length);
  // EUC-JP, JIS or UTF-8 text searched with the pattern in that code; each candidate line is converted
  // and confirmed in Shift-JIS.
  void ScanConverted(char* text, size_t length, const CSboymoo& matcher);
  // UTF-8 text (a UTF-8 file, or a UTF-16 file read as UTF-8) searched with the Unicode matcher; each
  // candidate line is folded and confirmed in UTF-8, then reported in Shift-JIS with its UTF-8 form.
  void ScanUnicode(char* text, size_t length);
  // Line by line with the regular expression. The text is Shift-JIS, or UTF-8 without byte-order mark
  // when `utf8` (each line that can match is converted on its own then).
  void ScanRegex(const char* text, size_t length, bool utf8 = false);

 private:
  // The leftmost hit in [at, to), or nullptr.
  const char* FindIn(const CSboymoo& matcher, const char* at, const char* to, bool mbcs) const;
  // The next hit at or after the cursor, searched a stretch at a time; the cursor passes the stretches
  // without one. nullptr at the end of the text or on a stop.
  const char* FindNext(const CSboymoo& matcher, char*& cursor, bool mbcs);
  // Cuts the line that holds `hit`; returns the line's end and moves the cursor behind its break.
  char* CutLine(char* hit, char*& cursor);
  // Counts the breaks between the cursor and the hit, keeping the line start up to date.
  void PassBreaks(char*& cursor, const char* hit);
  // The number of line breaks in [from, to), some of them CRs.
  size_t CountBreaks(const char* from, const char* to) const;
  // Posts the line as a hit of the current line number; true when the search is to stop.
  bool Report(std::string line, std::string_view utf8Line = {});
  // The line of UTF-8 text as the front end wants it besides the converted one: without a byte-order
  // mark, and empty when it was not asked for.
  std::string_view Utf8Line(const char* lineStart, const char* lineEnd) const;

  CSearchBase& owner_;
  const std::string& nativePath_;
  std::shared_ptr<const HitFile> file_;  // made at the file's first hit
  const int code_;
  bool utf8Text_;  // the text scanned is UTF-8, so its lines can go to the front end as they stand
  char* lineStart_ = nullptr;
  char* end_ = nullptr;
  int lineNumber_ = 1;
};

const char* TextScanner::FindIn(const CSboymoo& matcher, const char* at, const char* to, bool mbcs) const {
  size_t length = static_cast<size_t>(to - at);
  if (!owner_.ignoreCase_) return matcher.Find(at, length);
  return mbcs ? matcher.FindNoCaseMbcs(at, length) : matcher.FindNoCase(at, length);
}

const char* TextScanner::FindNext(const CSboymoo& matcher, char*& cursor, bool mbcs) {
  // A candidate is judged on its own bytes and the one after them (a pattern ending in a lone lead byte),
  // so each stretch is searched that far beyond its end; a hit starting beyond is found again by the next.
  const size_t reach = static_cast<size_t>(matcher.Length()) + 1;
  const char* hit = nullptr;
  for (const char* from = cursor; !hit; from += kStretch) {
    if (static_cast<size_t>(end_ - from) <= kStretch + reach) {
      hit = FindIn(matcher, from, end_, mbcs);
      if (!hit) return nullptr;
      break;
    }
    hit = FindIn(matcher, from, from + kStretch + reach, mbcs);
    if (hit && hit >= from + kStretch) hit = nullptr;
    if (!hit && owner_.StopRequested()) return nullptr;
    // Hits found before a stretch without one go out now rather than after the scan of the whole file.
    if (!hit && owner_.FlushHits()) return nullptr;
  }
  // Lines are counted only up to a hit (most files have none), and a stretch at a time when it is far.
  while (hit - cursor > static_cast<ptrdiff_t>(kStretch)) {
    if (owner_.StopRequested()) return nullptr;
    PassBreaks(cursor, cursor + kStretch);
  }
  return hit;
}

// The breaks are the LFs plus the CRs not followed by an LF. They are counted sixteen bytes at a time, so
// the stretch between two hits (often most of a file) costs a few instructions per block, not a call per
// line; the line start is then found by looking back from the hit.
void TextScanner::PassBreaks(char*& cursor, const char* hit) {
  // Most text holds no CR at all: the LFs are counted and the CRs looked for in one pass, and without a
  // CR the count of LFs is the count of breaks, and the line starts behind the last LF, found by memrchr a
  // vector at a time. Text with a CR is counted again by the rule for all breaks.
  bool sawCr = false;
  const size_t lineFeeds = CountLineFeeds(cursor, hit, sawCr);
  if (!sawCr) {
    lineNumber_ += static_cast<int>(lineFeeds);
    if (const void* lf = memrchr(cursor, '\n', static_cast<size_t>(hit - cursor))) {
      lineStart_ = static_cast<char*>(const_cast<void*>(lf)) + 1;
    }
    cursor = const_cast<char*>(hit);
    return;
  }
  lineNumber_ += static_cast<int>(CountBreaks(cursor, hit));
  for (const char* q = hit; q > cursor; --q) {
    if (q[-1] == '\n' || (q[-1] == '\r' && !(q < end_ && *q == '\n'))) {
      lineStart_ = const_cast<char*>(q);
      break;
    }
  }
  cursor = const_cast<char*>(hit);
}

size_t TextScanner::CountBreaks(const char* from, const char* to) const {
  size_t breaks = 0;
  const char* p = from;
#if defined(__SSE2__)
  // Each byte lane adds 1 for an LF, 1 for a CR and takes 1 back for a CR whose next byte is an LF, so a
  // lane grows by at most 1 a block and 255 blocks fit in its byte before the lanes are summed. The next
  // byte is read only below `to`, so a pair that straddles it is decided byte by byte below.
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  while (to - p > 16) {
    const size_t blocks = std::min<size_t>(static_cast<size_t>(to - p - 1) / 16, 255);
    __m128i lanes = zero;
    for (size_t k = 0; k < blocks; ++k, p += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      const __m128i isCr = _mm_cmpeq_epi8(block, cr);
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(block, lf));
      lanes = _mm_sub_epi8(lanes, isCr);
      lanes = _mm_add_epi8(lanes, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lf)));
    }
    const __m128i sums = _mm_sad_epu8(lanes, zero);
    breaks += static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; p < to; ++p) {
    if (*p == '\n' || (*p == '\r' && !(p + 1 < end_ && p[1] == '\n'))) ++breaks;
  }
  return breaks;
}

char* TextScanner::CutLine(char* hit, char*& cursor) {
  // The line ends at the first LF or CR; the CR is looked for only before the LF.
  char* lineEnd = static_cast<char*>(memchr(hit, '\n', static_cast<size_t>(end_ - hit)));
  if (!lineEnd) lineEnd = end_;
  if (char* cr = static_cast<char*>(memchr(hit, '\r', static_cast<size_t>(lineEnd - hit)))) lineEnd = cr;
  TabsToBlanks(lineStart_, lineEnd);
  if (lineEnd < end_) {
    cursor = lineEnd + ((*lineEnd == '\r' && lineEnd + 1 < end_ && lineEnd[1] == '\n') ? 2 : 1);
    *lineEnd = '\0';
  } else {
    cursor = end_;
  }
  return lineEnd;
}

std::string_view TextScanner::Utf8Line(const char* lineStart, const char* lineEnd) const {
  if (!utf8Text_ || !owner_.utf8Lines_) return {};
  std::string_view line(lineStart, static_cast<size_t>(lineEnd - lineStart));
  if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
  return line;
}

bool TextScanner::Report(std::string line, std::string_view utf8Line) {
  if (owner_.StopRequested()) return true;
  // Most files hold no hit, so the path is converted only for the first one.
  if (!file_) {
    file_ = MakeHitFile(platform::IsAscii(nativePath_) ? nativePath_ : platform::Cp932FromUtf8(nativePath_),
                        nativePath_);
  }
  return owner_.PostTextHit(file_, std::move(line), lineNumber_, code_, utf8Line);
}

void TextScanner::ScanSjis(char* text, size_t length) {
  const CSboymoo& matcher = *owner_.matchers_.sjis;
  end_ = text + length;
  lineStart_ = text;
  for (char* cursor = text; cursor < end_;) {
    const char* hit = FindNext(matcher, cursor, true);
    if (!hit || hit >= end_) return;
    PassBreaks(cursor, hit);
    char* lineStart = lineStart_;
    char* lineEnd = CutLine(const_cast<char*>(hit), cursor);
    bool onBoundary = !IsTrailAt(lineStart, hit) || matcher.HasHitOnBoundary(hit + 1, owner_.ignoreCase_);
    if (onBoundary && Report(std::string(lineStart, lineEnd))) return;
    ++lineNumber_;
    lineStart_ = cursor;
  }
}

void TextScanner::ScanConverted(char* text, size_t length, const CSboymoo& matcher) {
  const CSboymoo& sjis = *owner_.matchers_.sjis;
  end_ = text + length;
  lineStart_ = text;
  // A raw match in UTF-8 text is a hit as it stands when the pattern's UTF-8 form converts back to its
  // Shift-JIS form and no letter is folded (see Matchers::utf8RawIsHit): the confirmation would find the
  // same. The line is then converted only when the front end wants it in code page 932.
  const bool rawIsHit =
      code_ == kCodeUtf8 && owner_.matchers_.utf8RawIsHit && (!owner_.ignoreCase_ || sjis.FoldsNothing());
  const bool convert = !(rawIsHit && owner_.utf8LinesOnly_);
  std::string converted;
  for (char* cursor = text; cursor < end_;) {
    const char* hit = FindNext(matcher, cursor, false);
    if (!hit || hit >= end_) return;
    PassBreaks(cursor, hit);
    char* lineStart = lineStart_;
    char* lineEnd = CutLine(const_cast<char*>(hit), cursor);
    if (convert) converted = CCodeConvert::ToSjis(code_, lineStart, static_cast<size_t>(lineEnd - lineStart));
    if ((rawIsHit || sjis.HasHitOnBoundary(converted.c_str(), owner_.ignoreCase_)) &&
        Report(convert ? std::move(converted) : std::string(), Utf8Line(lineStart, lineEnd))) {
      return;
    }
    ++lineNumber_;
    lineStart_ = cursor;
  }
}

void TextScanner::ScanUnicode(char* text, size_t length) {
  const CUtf8Matcher& matcher = *owner_.matchers_.unicode;
  utf8Text_ = true;
  end_ = text + length;
  lineStart_ = text;
  matching::Utf8Candidates candidates(matcher, text, length);
  std::string folded;
  for (char* cursor = text; cursor < end_;) {
    const char* hit = candidates.Next(cursor);
    if (!hit) return;
    PassBreaks(cursor, hit);
    char* lineStart = lineStart_;
    char* lineEnd = CutLine(const_cast<char*>(hit), cursor);
    std::string_view line(lineStart, static_cast<size_t>(lineEnd - lineStart));
    if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    if (matcher.Holds(line, folded) && Report(CCodeConvert::Utf8ToSjis(line), Utf8Line(lineStart, lineEnd))) {
      return;
    }
    ++lineNumber_;
    lineStart_ = cursor;
  }
}

namespace {

// Counts the breaks in [from, to) into `lineNumber` (every LF, and every CR that is not the first half of
// CR LF) and moves `lineStart` behind the last of them.
void PassRegexBreaks(const char* from, const char* to, const char* end, int& lineNumber,
                     const char*& lineStart) {
  for (const char* p = from; (p = static_cast<const char*>(memchr(p, '\n', to - p))); lineStart = ++p) {
    ++lineNumber;
  }
  for (const char* p = from; (p = static_cast<const char*>(memchr(p, '\r', to - p))); ++p) {
    if (p + 1 < end && p[1] == '\n') continue;
    ++lineNumber;
    if (p + 1 > lineStart) lineStart = p + 1;
  }
}

// Calls visit(lineStart, lineEnd) for each line of [text, end) that can hold a match of the regular
// expression, in order, with `lineNumber` kept as that line's number; stops when visit returns true. An
// empty line never matches. With a literal that every match contains, only the lines holding it are
// visited, found by searching the text a stretch at a time; between stretches `stopped` is asked whether
// to end.
template <class Stopped, class Visit>
void ForEachRegexLine(const char* text, const char* end, std::string_view literal, int& lineNumber,
                      Stopped stopped, Visit visit) {
  for (const char* cursor = text; cursor < end; ++lineNumber) {
    const char* lineStart = cursor;
    if (!literal.empty()) {
      const char* hit = nullptr;
      for (const char* from = cursor;; from += kStretch) {
        // A literal starting before the stretch's end lies whole inside what is searched.
        const bool last = static_cast<size_t>(end - from) <= kStretch + literal.size();
        const char* to = last ? end : from + kStretch + literal.size() - 1;
        hit = static_cast<const char*>(memmem(from, to - from, literal.data(), literal.size()));
        if (hit || last || stopped()) break;
      }
      if (!hit) return;
      // Lines are counted only up to a hit, and a stretch at a time when it is far.
      for (; hit - cursor > static_cast<ptrdiff_t>(kStretch); cursor += kStretch) {
        if (stopped()) return;
        PassRegexBreaks(cursor, cursor + kStretch, end, lineNumber, lineStart);
      }
      PassRegexBreaks(cursor, hit, end, lineNumber, lineStart);
      cursor = hit;
    }
    // The line ends at the first LF or CR; the CR is looked for only before the LF.
    const auto* lf = static_cast<const char*>(memchr(cursor, '\n', end - cursor));
    const char* lineEnd = lf ? lf : end;
    if (const auto* cr = static_cast<const char*>(memchr(cursor, '\r', lineEnd - cursor))) lineEnd = cr;
    cursor = lineEnd;
    if (cursor < end) cursor += (*cursor == '\r' && cursor + 1 < end && cursor[1] == '\n') ? 2 : 1;
    if (lineEnd > lineStart && visit(lineStart, lineEnd)) return;
  }
}

}  // namespace

void TextScanner::ScanRegex(const char* text, size_t length, bool utf8) {
  CBreg& regex = *owner_.matchers_.regex;
  const std::string_view literal = utf8 ? regex.Literal().utf8 : regex.Literal().sjis;
  std::string converted;
  int givenUp = 0;
  // Kept hits go out between stretches of text, and once the lines looked at have passed a stretch, so
  // that sparse hits of a large file do not wait for its end.
  const char* flushedAt = text;
  ForEachRegexLine(
      text, text + length, literal, lineNumber_, [&] { return owner_.FlushHits() || owner_.StopRequested(); },
      [&](const char* lineStart, const char* lineEnd) {
        if (owner_.StopRequested()) return true;
        if (static_cast<size_t>(lineStart - flushedAt) > kStretch) {
          flushedAt = lineStart;
          if (owner_.FlushHits()) return true;
        }
        const char* rawStart = lineStart;
        const char* rawEnd = lineEnd;
        if (utf8) {
          converted =
              platform::Cp932FromUtf8(std::string_view(lineStart, static_cast<size_t>(lineEnd - lineStart)));
          lineStart = converted.data();
          lineEnd = lineStart + converted.size();
        }
        const char* matchStart = nullptr;
        const char* matchEnd = nullptr;
        // Tabs are seen by the expression as tabs; only the reported line has them replaced. A line the
        // library gives up on (a runaway expression) is no hit.
        const int matched = regex.Match(lineStart, lineEnd, &matchStart, &matchEnd);
        if (matched < 0) return ++givenUp == kRegexGiveUpsPerFile;
        if (matched == 0 || !matchStart) return false;
        std::string line(lineStart, lineEnd);
        TabsToBlanks(line.data(), line.data() + line.size());
        std::string raw;
        if (utf8 && owner_.utf8Lines_) {
          raw.assign(rawStart, rawEnd);  // the text is read-only here: the tabs are replaced in a copy
          TabsToBlanks(raw.data(), raw.data() + raw.size());
        }
        return Report(std::move(line), raw);
      });
}

int CSearchBase::ScanThreadProc(ScanOrder* order) {
  order_ = order;
  std::string path;
  for (;;) {
    if (StopRequested()) return 1;
    if (!queue_.Pop(path, place_)) continue;
    if (path.empty()) return 0;
    SetCurrentFolderNative(path);
    head_ = order_ == nullptr;  // alone, every file is the head
    try {
      ScanFile(path);
    } catch (...) {
      // An allocation failure abandons this file only.
    }
    FinishFile();
  }
}

void CSearchBase::FinishFile() {
  // A request to stop met while posting is seen by the loop through the stop event; the hits a stopped
  // scan still kept are dropped, as a stop ends the posting of hits.
  if (StopRequested()) kept_.clear();
  if (head_ && !kept_.empty()) PostHits(kept_);
  if (!order_) return;
  auto post = [](void* poster, std::vector<Notification>& hits) {
    return static_cast<CSearchBase*>(poster)->PostHits(hits);
  };
  // A file that posted its hits itself passes on none (and keeps its vector's room for the next file).
  order_->Finish(place_, kept_.empty() ? std::vector<Notification>() : std::move(kept_), this, post);
  kept_.clear();
}

void CSearchBase::ScanFile(const std::string& nativePath) {
  // A file far larger than most gives its pages back once scanned: the scanners then hold the memory of
  // such files only while they scan them, not each the largest it ever met.
  constexpr size_t kKeptBuffer = size_t{8} << 20;
  int fd = platform::OpenForReading(nativePath);
  if (fd < 0) return;
  FileText file = ReadFileText(fd, buffer_, charCode_, shared_.stop);
  close(fd);
  ScanText(nativePath, buffer_.Data(), file);
  if (file.length > kKeptBuffer) buffer_.GiveBackAbove(kKeptBuffer);
}

void CSearchBase::ScanText(const std::string& nativePath, char* text, const FileText& file) {
  if (file.length == 0) return;
  const size_t length = file.length, textLength = file.textLength;
  const int code = file.code;
  TextScanner scanner(*this, nativePath, code);
  const bool utf16 = code == kCodeUtf16Le || code == kCodeUtf16Be;
  if (matchers_.unicode && !regex_) {
    if (code == kCodeUtf8) return scanner.ScanUnicode(text, textLength);
    if (utf16 && !matchers_.cp932Holds) {
      // Code page 932 would lose the very characters looked for, so the text is read as UTF-8.
      std::string utf8 = CCodeConvert::Utf16ToUtf8(text, length, code == kCodeUtf16Be);
      return scanner.ScanUnicode(utf8.data(), utf8.size());
    }
  }
  // What code page 932 cannot hold, no text in Shift-JIS, EUC-JP or JIS holds.
  if (!matchers_.cp932Holds) return;
  if (utf16) {
    // Converted in the file's own buffer: no second copy of a large file.
    size_t converted = CCodeConvert::Utf16ToSjisInPlace(text, length, code == kCodeUtf16Be);
    text[converted] = '\0';
    if (regex_) {
      scanner.ScanRegex(text, converted);
    } else {
      scanner.ScanSjis(text, strnlen(text, converted));
    }
    return;
  }
  if (regex_) {
    // The regular-expression scan leaves the text as it is, so Shift-JIS is scanned in the buffer itself,
    // and UTF-8 line by line where the expression gives a literal to find the lines that can match.
    if (code == kCodeSjis) return scanner.ScanRegex(text, textLength);
    if (code == kCodeUtf8 && !matchers_.regex->Literal().utf8.empty()) {
      const bool bom = textLength >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0;
      return scanner.ScanRegex(text + (bom ? 3 : 0), textLength - (bom ? 3 : 0), true);
    }
    std::string copy;
    if (ToSjisUnlessStopped(code, text, textLength, copy, shared_.stop))
      scanner.ScanRegex(copy.data(), copy.size());
    return;
  }
  const CSboymoo* converted = code == kCodeEuc    ? matchers_.euc.get()
                              : code == kCodeJis  ? matchers_.jis.get()
                              : code == kCodeUtf8 ? matchers_.utf8.get()
                                                  : nullptr;
  if (converted && ignoreCase_ && HasFullWidthLetter(matchers_.sjis->Pattern())) {
    // The raw search folds single-byte letters only; ignoring the case of full-width letters in a file of
    // another code takes the whole text in Shift-JIS, so that every code finds the same lines.
    std::string copy;
    if (ToSjisUnlessStopped(code, text, textLength, copy, shared_.stop))
      scanner.ScanSjis(copy.data(), copy.size());
  } else if (converted) {
    scanner.ScanConverted(text, textLength, *converted);
  } else {
    scanner.ScanSjis(text, textLength);
  }
}
