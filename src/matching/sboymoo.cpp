#include "matching/sboymoo.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif
#endif

#include "matching/mbcs.h"

namespace matching {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// The NUL-terminated exact search learns the text's length piece by piece, so that a hit near the start
// of a long text costs no walk to its end; pieces double up to the largest size.
constexpr size_t kFirstPiece = 4096;
constexpr size_t kLargestPiece = size_t{1} << 20;

constexpr bool IsAsciiLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
}

// True when a character of code page 932 (given by its bytes) changes under case folding: an ASCII letter
// or a full-width Latin letter of either case.
bool IsFoldable(const char* p, size_t len) {
  auto b0 = static_cast<unsigned char>(p[0]);
  if (len == 1) return IsAsciiLetter(b0);
  auto b1 = static_cast<unsigned char>(p[1]);
  return b0 == 0x82 && ((b1 >= 0x60 && b1 <= 0x79) || (b1 >= 0x81 && b1 <= 0x9A));
}

// True when comparing the pattern character by character with folding is the same as comparing its bytes
// exactly: no character folds, and the last character is not a lone lead byte (in a text a trail byte may
// follow it and make one double-byte character of the two).
bool MbcsCompareIsExact(const char* pattern) {
  const char* last = nullptr;
  for (const char* p = pattern; *p != '\0';) {
    size_t len = CharLen(p);
    if (IsFoldable(p, len)) return false;
    last = p;
    p += len;
  }
  return last == nullptr || CharLen(last) == 2 || !IsLeadByte(static_cast<unsigned char>(*last));
}

// The next position in [from, end) holding byte c, or end.
const char* NextOf(const char* from, const char* end, char c) {
  const void* at = std::memchr(from, c, static_cast<size_t>(end - from));
  return at != nullptr ? static_cast<const char*>(at) : end;
}

}  // namespace

CSboymoo::CSboymoo(const char* pattern) {
  const size_t m = std::strlen(pattern);
  // Lengths and shifts are 32-bit; a pattern that does not fit is an internal failure like a failed copy.
  if (m > static_cast<size_t>(INT32_MAX) - 1) throw 1;
  pattern_ = new (std::nothrow) char[m + 1];
  if (pattern_ == nullptr) throw 1;
  std::memcpy(pattern_, pattern, m + 1);
  length_ = static_cast<int32_t>(m);

  const auto* p = reinterpret_cast<const unsigned char*>(pattern_);
  std::fill(std::begin(shift_), std::end(shift_), std::max<int32_t>(length_, 1));
  if (m >= 1) last_ = p[m - 1];
  // Increasing i lets the rightmost occurrence before the last byte win.
  for (size_t i = 0; m >= 2 && i + 1 < m; ++i) shift_[p[i]] = static_cast<int32_t>(m - 1 - i);

  if (m >= 1) {
    unsigned char c = p[0];
    if (c >= 'A' && c <= 'Z') {
      firstBytes_[0] = static_cast<char>(c + 0x20);
      firstBytes_[1] = static_cast<char>(c);
    } else if (c >= 'a' && c <= 'z') {
      firstBytes_[0] = static_cast<char>(c);
      firstBytes_[1] = static_cast<char>(c - 0x20);
    } else {
      firstBytes_[0] = static_cast<char>(c);
    }
  }

  chars_ = MbsLen(pattern_);
  noCaseIsExact_ = std::none_of(p, p + m, IsAsciiLetter);
  mbcsIsExact_ = MbcsCompareIsExact(pattern_);
}

CSboymoo::~CSboymoo() {
  delete[] pattern_;
}

// Horspool over text[0, length) for a pattern of at least 2 bytes. `end` is the text index under the
// pattern's last byte; the scan resumes from it and leaves it where it stopped, so a caller can extend the
// text and go on. Returns the index of the match's first byte, or kNone.
//
// Alignments whose byte under the pattern's end is not the last byte can never match, so the scan jumps to
// the next last byte with memchr, which passes over such stretches many bytes at a time, far faster than
// stepping through the shift table. Where the last byte is dense (a continuation byte of UTF-8 Japanese
// text, a common letter), memchr returns after a few dozen bytes each time: after a run of such short
// jumps a stretch of the text is scanned sixteen alignments at a time, each tested on its last byte and the
// byte before it (the table's shifts where that is not available), then memchr is tried again.
size_t CSboymoo::Horspool(const unsigned char* text, size_t length, size_t& end) const {
  constexpr size_t kShortJump = 64;
  constexpr int kShortJumpsBeforeBlocks = 8;
  constexpr size_t kBlockStretch = 8192;
  const size_t m = static_cast<size_t>(length_);
  const unsigned char last = last_;
  const size_t lastShift = static_cast<size_t>(shift_[last]);
  size_t i = end;
  int shortJumps = 0;
  while (i < length) {
    const void* found = std::memchr(text + i, last, length - i);
    if (found == nullptr) break;
    const size_t at = static_cast<size_t>(static_cast<const unsigned char*>(found) - text);
    shortJumps = (at - i < kShortJump) ? shortJumps + 1 : 0;
    i = at;
    if (MatchesAt(text, i)) {
      end = i;
      return i + 1 - m;
    }
    i += lastShift;
    if (shortJumps == kShortJumpsBeforeBlocks) {
      const size_t hit = BlockScan(text, std::min(length, i + kBlockStretch), i);
      if (hit != kNone) {
        end = i;
        return hit;
      }
      shortJumps = 0;
    }
  }
  end = std::max(i, length);
  return kNone;
}

#if defined(__x86_64__) && defined(__GNUC__)
namespace {

// BlockScan's test thirty-two alignments at a time, where the processor has AVX2 (asked once at run time).
// `p` is the pattern of m >= 2 bytes; every i it looks at is at least 1, so the byte before is in the text.
__attribute__((target("avx2"))) size_t BlockScanAvx2(const unsigned char* text, size_t length, size_t& i,
                                                     const unsigned char* p, size_t m) {
  const __m256i last = _mm256_set1_epi8(static_cast<char>(p[m - 1]));
  const __m256i beforeLast = _mm256_set1_epi8(static_cast<char>(p[m - 2]));
  for (; i + 32 <= length; i += 32) {
    const __m256i ends = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i));
    const __m256i befores = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i - 1));
    auto candidates = static_cast<unsigned>(_mm256_movemask_epi8(
        _mm256_and_si256(_mm256_cmpeq_epi8(ends, last), _mm256_cmpeq_epi8(befores, beforeLast))));
    for (; candidates != 0; candidates &= candidates - 1) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(candidates));
      if (std::memcmp(text + at + 1 - m, p, m - 2) == 0) {
        i = at;
        return at + 1 - m;
      }
    }
  }
  return kNone;
}

// Asked during static initialisation, so the processor model is set up first.
const bool kHasAvx2 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();

}  // namespace
#endif

// Alignments whose end index is in [i, length), sixteen at a time: a block's candidates are the ends whose
// byte is the pattern's last and whose byte before is its last but one. Resumes at and updates i.
size_t CSboymoo::BlockScan(const unsigned char* text, size_t length, size_t& i) const {
#if defined(__SSE2__)
  const size_t m = static_cast<size_t>(length_);
#if defined(__x86_64__) && defined(__GNUC__)
  if (kHasAvx2) {
    const size_t hit = BlockScanAvx2(text, length, i, reinterpret_cast<const unsigned char*>(pattern_), m);
    if (hit != kNone) return hit;
  }
#endif
  const __m128i last = _mm_set1_epi8(static_cast<char>(last_));
  const __m128i beforeLast = _mm_set1_epi8(pattern_[m - 2]);
  for (; i + 16 <= length; i += 16) {
    const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i befores = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i - 1));
    unsigned candidates = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(ends, last), _mm_cmpeq_epi8(befores, beforeLast))));
    for (; candidates != 0; candidates &= candidates - 1) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(candidates));
      if (MatchesAt(text, at)) {
        i = at;
        return at + 1 - m;
      }
    }
  }
#endif
  return TableScan(text, length, i);
}

// The classic Horspool loop over alignments whose end index is below `length`, resuming at and updating i.
size_t CSboymoo::TableScan(const unsigned char* text, size_t length, size_t& i) const {
  const unsigned char last = last_;
  while (i < length) {
    const unsigned char c = text[i];
    if (c == last && MatchesAt(text, i)) return i + 1 - static_cast<size_t>(length_);
    i += static_cast<size_t>(shift_[c]);
  }
  return kNone;
}

// True when the pattern ends at text index i, whose byte is known to be the last byte: the byte before is
// checked first, then the rest.
bool CSboymoo::MatchesAt(const unsigned char* text, size_t i) const {
  const size_t m = static_cast<size_t>(length_);
  const auto* p = reinterpret_cast<const unsigned char*>(pattern_);
  return text[i - 1] == p[m - 2] && std::memcmp(text + i + 1 - m, p, m - 2) == 0;
}

const char* CSboymoo::Find(const char* text, size_t length) const {
  if (length_ == 0) return text + length;
  if (length_ == 1) return static_cast<const char*>(std::memchr(text, pattern_[0], length));
  size_t end = static_cast<size_t>(length_) - 1;
  size_t at = Horspool(reinterpret_cast<const unsigned char*>(text), length, end);
  return at == kNone ? nullptr : text + at;
}

const char* CSboymoo::Find(const char* text) const {
  if (length_ == 0) return text + std::strlen(text);
  if (length_ == 1) return std::strchr(text, pattern_[0]);
  return FindUnbounded(text);
}

// Horspool over a NUL-terminated text whose length is learnt piece by piece (strnlen reads no further
// than the NUL), so every position the search looks at lies before the NUL.
const char* CSboymoo::FindUnbounded(const char* text) const {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  size_t piece = std::max(kFirstPiece, static_cast<size_t>(length_) * 4);
  size_t known = strnlen(text, piece);
  size_t end = static_cast<size_t>(length_) - 1;
  for (;;) {
    size_t at = Horspool(s, known, end);
    if (at != kNone) return text + at;
    if (text[known] == '\0') return nullptr;
    piece = std::min(piece * 2, std::max(kLargestPiece, piece));
    known += strnlen(text + known, piece);
  }
}

bool CSboymoo::EqualNoCase(const char* at) const {
  const auto* t = reinterpret_cast<const unsigned char*>(at);
  const auto* p = reinterpret_cast<const unsigned char*>(pattern_);
  for (size_t j = 1; j < static_cast<size_t>(length_); ++j)
    if (FoldAscii(t[j]) != FoldAscii(p[j])) return false;
  return true;
}

// The case-insensitive searches over a known length: candidates are the positions holding a first byte,
// found with memchr; with two first bytes the next position of each is kept, so every byte is looked at
// once per first byte however many candidates fail.
template <bool kMbcs>
const char* CSboymoo::FindFolded(const char* text, size_t length) const {
  if (length_ == 0) return text + length;
  if (kMbcs ? mbcsIsExact_ : noCaseIsExact_) return Find(text, length);
  const size_t m = static_cast<size_t>(length_);
  const char* end = text + length;
  const std::string_view pattern(pattern_, m);
  const char* nextSmall = NextOf(text, end, firstBytes_[0]);
  const char* nextOther = firstBytes_[1] != '\0' ? NextOf(text, end, firstBytes_[1]) : end;
  for (;;) {
    const char* candidate = std::min(nextSmall, nextOther);
    // A match spans exactly m bytes (folding keeps every character's byte length), so a candidate with
    // fewer bytes left, and every later one, fails.
    if (static_cast<size_t>(end - candidate) < m) return nullptr;
    // The character comparison gets the whole rest of the text: it reads at most one byte beyond the m
    // bytes, which decides whether a pattern ending in a lone lead byte meets a double-byte character.
    const bool equal = kMbcs ? MbsNICmp(std::string_view(candidate, static_cast<size_t>(end - candidate)),
                                        pattern, chars_) == 0
                             : EqualNoCase(candidate);
    if (equal) return candidate;
    if (candidate == nextSmall)
      nextSmall = NextOf(candidate + 1, end, firstBytes_[0]);
    else
      nextOther = NextOf(candidate + 1, end, firstBytes_[1]);
  }
}

// The case-insensitive searches over a NUL-terminated text: candidates by strchr or strpbrk.
template <bool kMbcs>
const char* CSboymoo::FindFoldedUnbounded(const char* text) const {
  if (length_ == 0) return text + std::strlen(text);
  if (kMbcs ? mbcsIsExact_ : noCaseIsExact_) return Find(text);
  const bool twoFirstBytes = firstBytes_[1] != '\0';
  for (const char* from = text;;) {
    const char* candidate =
        twoFirstBytes ? std::strpbrk(from, firstBytes_) : std::strchr(from, firstBytes_[0]);
    if (candidate == nullptr) return nullptr;
    if (kMbcs) {
      if (MbsNICmp(candidate, pattern_, chars_) == 0) return candidate;
    } else {
      // Bytes are compared up to the text's NUL; a text that ends inside the pattern has no later match.
      const auto* t = reinterpret_cast<const unsigned char*>(candidate);
      const auto* p = reinterpret_cast<const unsigned char*>(pattern_);
      size_t j = 1;
      while (p[j] != 0 && t[j] != 0 && FoldAscii(t[j]) == FoldAscii(p[j])) ++j;
      if (p[j] == 0) return candidate;
      if (t[j] == 0) return nullptr;
    }
    from = candidate + 1;
  }
}

const char* CSboymoo::FindNoCase(const char* text) const {
  return FindFoldedUnbounded<false>(text);
}
const char* CSboymoo::FindNoCase(const char* text, size_t length) const {
  return FindFolded<false>(text, length);
}
const char* CSboymoo::FindNoCaseMbcs(const char* text) const {
  return FindFoldedUnbounded<true>(text);
}
const char* CSboymoo::FindNoCaseMbcs(const char* text, size_t length) const {
  return FindFolded<true>(text, length);
}

bool CSboymoo::HasHitOnBoundary(const char* text, bool ignoreCase) const {
  for (const char* start = text; *start != '\0';) {
    const char* hit = ignoreCase ? FindNoCaseMbcs(start) : Find(start);
    if (hit == nullptr) return false;
    if (!IsTrailAt(start, hit)) return true;
    // A trail byte is followed by the next character's first byte.
    start = hit + 1;
  }
  return false;
}

bool CSboymoo::HasHitOnBoundary(const char* text, size_t length, bool ignoreCase) const {
  const char* end = text + length;
  for (const char* start = text; start < end && *start != '\0';) {
    const size_t rest = static_cast<size_t>(end - start);
    const char* hit = ignoreCase ? FindNoCaseMbcs(start, rest) : Find(start, rest);
    if (hit == nullptr) return false;
    if (!IsTrailAt(std::string_view(start, rest), static_cast<size_t>(hit - start))) return true;
    start = hit + 1;
  }
  return false;
}

}  // namespace matching
