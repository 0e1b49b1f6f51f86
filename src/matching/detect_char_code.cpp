// Character-code detection: byte-order marks, NUL patterns and JIS escapes decide first; otherwise three
// scorers (Shift-JIS, EUC-JP, UTF-8) read one window of at most 256 bytes and the best adjusted score wins.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "matching/code_convert.h"

namespace matching {
namespace {

constexpr size_t kHeadLength = 256;
// The whole-sample passes ask whether to go on once per piece of this many bytes.
constexpr size_t kAbandonPiece = size_t{1} << 20;
constexpr size_t kWindowLength = 256;
// How far a window that reads as valid UTF-8 is confirmed before UTF-8 overrides the scores.
constexpr size_t kUtf8ConfirmLength = 64 * 1024;
// One invalid byte costs more than any window of valid characters can score.
constexpr int64_t kInvalidPenalty = 395578;

constexpr unsigned char kNul = 0x00;
constexpr unsigned char kSi = 0x0F;
constexpr unsigned char kEsc = 0x1B;

// ---- Scorers. Each reads one byte at a time; `pending` is 0 at a character boundary, 1 after a lead
// byte, and -n while n more bytes of a sequence are expected. ----

struct Scorer {
  uint32_t invalid = 0;
  int32_t score = 0;
  int32_t pending = 0;
  uint32_t code = 0;  // the lead byte, or the code being assembled

  int64_t Adjusted() const { return score - kInvalidPenalty * static_cast<int64_t>(invalid); }
};

constexpr int SjisWeight(uint32_t code) {
  if (code < 0x100) return code >= 0xA1 && code <= 0xDF ? 1 : 0;  // half-width katakana
  if (code >= 0x8140 && code <= 0x81AC) return 8;                 // symbols
  if (code >= 0x824F && code <= 0x8258) return 8;                 // full-width digits
  if (code >= 0x8260 && code <= 0x8279) return 8;                 // full-width capitals
  if (code >= 0x8281 && code <= 0x829A) return 8;                 // full-width small letters
  if (code >= 0x829F && code <= 0x82F1) return 10;                // hiragana
  if (code >= 0x8340 && code <= 0x8396) return 8;                 // katakana
  if (code >= 0x889F && code <= 0x9872) return 10;                // level-1 kanji
  if (code >= 0x989F && code <= 0xEAA4) return 2;                 // level-2 kanji
  if (code >= 0xED40 && code <= 0xEEEC) return 1;                 // NEC-selected IBM extensions
  return 0;
}

constexpr int EucWeight(uint32_t code) {
  if (code >= 0x8EA1 && code <= 0x8EDF) return 1;   // half-width katakana after SS2
  if (code >= 0xA1A1 && code <= 0xA2AE) return 8;   // symbols
  if (code >= 0xA3B0 && code <= 0xA3B9) return 8;   // full-width digits
  if (code >= 0xA3C1 && code <= 0xA3DA) return 8;   // full-width capitals
  if (code >= 0xA3E1 && code <= 0xA3FA) return 8;   // full-width small letters
  if (code >= 0xA4A1 && code <= 0xA4F3) return 10;  // hiragana
  if (code >= 0xA5A1 && code <= 0xA5F6) return 8;   // katakana
  if (code >= 0xB0A1 && code <= 0xCFD3) return 10;  // level-1 kanji
  if (code >= 0xD0A1 && code <= 0xF4A6) return 2;   // level-2 kanji
  if (code >= 0xF9A1 && code <= 0xFCEE) return 1;   // NEC-selected IBM extensions
  return 0;
}

// The weights of every code, worked out by the compiler: a window's scorers look one up for nearly every
// pair of bytes, and a lookup costs less than the chain of ranges.
template <int (*kWeight)(uint32_t)>
constexpr std::array<int8_t, 0x10000> WeightTable() {
  std::array<int8_t, 0x10000> table{};
  for (uint32_t code = 0; code < 0x10000; ++code) table[code] = static_cast<int8_t>(kWeight(code));
  return table;
}
constexpr std::array<int8_t, 0x10000> kSjisWeights = WeightTable<SjisWeight>();
constexpr std::array<int8_t, 0x10000> kEucWeights = WeightTable<EucWeight>();

inline void FeedSjis(Scorer& s, uint32_t b) {
  if (b == 0 || b >= 0xFD) {
    ++s.invalid;
    s.pending = 0;
  } else if (s.pending == 0) {
    s.code = b;
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      s.pending = 1;
    } else {
      s.score += kSjisWeights[b];
    }
  } else {
    // A byte that is no trail byte counts as an error and is not taken as a new lead byte.
    if ((b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC)) {
      s.score += kSjisWeights[(s.code << 8 | b) & 0xFFFF];
    } else {
      ++s.invalid;
    }
    s.pending = 0;
  }
}

inline void FeedEuc(Scorer& s, uint32_t b) {
  if (b == 0) {
    ++s.invalid;
    s.pending = 0;
  } else if (s.pending == 0) {
    s.code = b;
    if (b == 0x8E || (b >= 0x90 && b <= 0x9F) || (b >= 0xA1 && b <= 0xFE)) {
      s.pending = 1;
    } else if (b == 0x8F) {
      s.pending = -2;  // JIS X 0212: the two bytes after SS3 are skipped unchecked
    }
  } else if (s.pending == 1) {
    if (b >= 0x80) {
      s.score += kEucWeights[(s.code << 8 | b) & 0xFFFF];
    } else {
      ++s.invalid;
    }
    s.pending = 0;
  } else {
    ++s.pending;
  }
}

inline int Utf8SequenceLength(uint32_t b) {
  if (b < 0x80) return 1;
  if (b >= 0xC0 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF7) return 4;
  if (b >= 0xF8 && b <= 0xFB) return 5;
  if (b >= 0xFC && b <= 0xFD) return 6;
  return 0;  // a continuation byte, 0xFE or 0xFF
}

inline void FeedUtf8(Scorer& s, uint32_t b) {
  if (b == 0) {
    ++s.invalid;
    s.pending = 0;
  } else if (s.pending == 0) {
    int n = Utf8SequenceLength(b);
    if (n == 0) {
      ++s.invalid;
    } else {
      s.pending = 1 - n;
    }
  } else if ((b & 0xC0) == 0x80) {
    if (++s.pending == 0) s.score += 7;
  } else {
    ++s.invalid;  // the broken sequence ends here; the byte is not read again as a lead byte
    s.pending = 0;
  }
}

// ---- The deciding rules ----

// Two NULs in a row within the head: at a position 0 mod 4 they are the high half of a UTF-32BE
// character, at 2 mod 4 of a UTF-32LE one. Only the first pair is looked at.
std::optional<DetectedCode> ByNulPair(const unsigned char* s, size_t head) {
  if (std::memchr(s, kNul, head) == nullptr) return std::nullopt;  // text as a rule holds none
  for (size_t p = 0; p + 1 < head; ++p) {
    if (s[p] != kNul || s[p + 1] != kNul) continue;
    if (p % 4 == 0) return DetectedCode::Utf32Be;
    if (p % 4 == 2) return DetectedCode::Utf32Le;
    return std::nullopt;
  }
  return std::nullopt;
}

// No value when `abandon` asked to end first.
std::optional<bool> HasJisEscape(const unsigned char* s, size_t length,
                                 const std::function<bool()>& abandon) {
  const unsigned char* end = s + length;
  for (const unsigned char* p = s; p < end;) {
    // An escape is looked for a piece at a time; its sequence may run on into the next piece.
    const unsigned char* pieceEnd = end - p > static_cast<ptrdiff_t>(kAbandonPiece) ? p + kAbandonPiece : end;
    p = static_cast<const unsigned char*>(std::memchr(p, kEsc, static_cast<size_t>(pieceEnd - p)));
    if (!p) {
      if (pieceEnd < end && abandon && abandon()) return std::nullopt;
      p = pieceEnd;
      continue;
    }
    size_t left = static_cast<size_t>(end - p);
    if (left >= 3 && ((p[1] == '$' && p[2] == 'B') || (p[1] == '(' && (p[2] == 'I' || p[2] == 'B')))) {
      return true;
    }
    if (left >= 4 && p[1] == '$' && p[2] == '(' && p[3] == 'D') return true;
    ++p;
  }
  return false;
}

// True when an 8-byte word holds a byte equal to zero (exact: no false hit when none is zero).
inline bool HasZeroByte(uint64_t x) {
  return ((x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL) != 0;
}

inline bool IsWindowStart(unsigned char b) {
  return b == kNul || b == kSi || b == kEsc || b >= 0x80;
}

// Position of the first NUL, SI, ESC or byte >= 0x80, or `length` when there is none; no value when
// `abandon` asked to end first. Plain ASCII files are read through entirely, so words of eight bytes are
// tested at once.
std::optional<size_t> FirstWindowByte(const unsigned char* s, size_t length,
                                      const std::function<bool()>& abandon) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time: a byte >= 0x80 sets its sign bit, NUL, SI and ESC are compared for.
  const __m128i nul = _mm_setzero_si128(), si = _mm_set1_epi8(static_cast<char>(kSi)),
                esc = _mm_set1_epi8(static_cast<char>(kEsc));
  for (; i + 16 <= length; i += 16) {
    if (i % kAbandonPiece == 0 && i > 0 && abandon && abandon()) return std::nullopt;
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i special =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, nul), _mm_cmpeq_epi8(x, si)), _mm_cmpeq_epi8(x, esc));
    if (_mm_movemask_epi8(_mm_or_si128(x, special)) != 0) break;
  }
#endif
  for (; i + 8 <= length; i += 8) {
    if (i % kAbandonPiece == 0 && i > 0 && abandon && abandon()) return std::nullopt;
    uint64_t x;
    std::memcpy(&x, s + i, 8);
    if ((x & 0x8080808080808080ULL) || HasZeroByte(x) || HasZeroByte(x ^ (kOnes * kSi)) ||
        HasZeroByte(x ^ (kOnes * kEsc))) {
      break;
    }
  }
  while (i < length && !IsWindowStart(s[i])) ++i;
  return i;
}

// True when the bytes are well-formed UTF-8 (no overlong form, no surrogate, nothing past U+10FFFF); a
// sequence cut off by the end of the bytes counts as well-formed, as the sample may end inside one.
bool ReadsAsUtf8(const unsigned char* s, size_t length) {
  size_t i = 0;
  while (i < length) {
    if (i + 8 <= length) {
      uint64_t x;
      std::memcpy(&x, s + i, 8);
      if ((x & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    unsigned char b = s[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    // Kana and kanji: a three-byte sequence whose lead (E1-EC, EE-EF) takes any continuation bytes.
    if (b >= 0xE1 && b != 0xED && b <= 0xEF && i + 3 <= length && (s[i + 1] & 0xC0) == 0x80 &&
        (s[i + 2] & 0xC0) == 0x80) {
      i += 3;
      continue;
    }
    size_t n;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    for (size_t k = 1; k < n; ++k) {
      if (i + k >= length) return true;
      unsigned char c = s[i + k];
      if (k == 1 ? (c < low || c > high) : (c & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

bool Contains(std::string_view text, std::string_view what) {
  return text.find(what) != std::string_view::npos;
}

// Smallest first position of any of `names` in `head`, or npos.
size_t FirstOf(std::string_view head, std::initializer_list<std::string_view> names) {
  size_t first = std::string_view::npos;
  for (std::string_view name : names) first = std::min(first, head.find(name));
  return first;
}

// All three scorers agree: line ends, then charset names written in the head decide.
DetectedCode BreakTie(std::string_view head) {
  if (Contains(head, "\n")) {
    return Contains(head, "\r\n") || Contains(head, "\n\r") ? DetectedCode::ShiftJis : DetectedCode::EucJp;
  }
  if (Contains(head, "\r")) return DetectedCode::ShiftJis;
  constexpr size_t npos = std::string_view::npos;
  size_t u = head.find("UTF-8");
  size_t s = FirstOf(head, {"Shift_JIS", "shift_jis", "sjis", "Shift-JIS", "shift-jis", "SJIS"});
  size_t e = FirstOf(head, {"EUC", "euc"});
  // npos is the largest position, so "absent" compares as "after everything".
  if (u != npos && u < s && u < e) return DetectedCode::Utf8;
  if (e != npos && e < s) return DetectedCode::EucJp;
  return DetectedCode::ShiftJis;
}

DetectedCode ByScores(const CharCodeScores& scores, std::string_view head) {
  if (scores.sjis == scores.euc && scores.euc == scores.utf8) return BreakTie(head);
  DetectedCode best = DetectedCode::ShiftJis;
  int64_t bestScore = scores.sjis;
  if (scores.euc > bestScore) {
    best = DetectedCode::EucJp;
    bestScore = scores.euc;
  }
  return scores.utf8 > bestScore ? DetectedCode::Utf8 : best;
}

}  // namespace

std::optional<DetectedCode> CCodeConvert::ByteOrderMark(const char* sample, size_t length) {
  const auto* s = reinterpret_cast<const unsigned char*>(sample);
  size_t lead = std::min<size_t>(length, 4);
  auto startsWith = [&](std::initializer_list<unsigned char> mark) {
    return mark.size() <= lead && std::equal(mark.begin(), mark.end(), s);
  };
  if (startsWith({0x00, 0x00, 0xFE, 0xFF})) return DetectedCode::Utf32Be;
  if (startsWith({0xFF, 0xFE, 0x00, 0x00})) return DetectedCode::Utf32Le;
  if (startsWith({0xEF, 0xBB, 0xBF})) return DetectedCode::Utf8;
  if (startsWith({0xFE, 0xFF})) return DetectedCode::Utf16Be;
  if (startsWith({0xFF, 0xFE})) return DetectedCode::Utf16Le;
  return std::nullopt;
}

CharCodeScores CCodeConvert::ScoreWindow(const char* window, size_t length, size_t position) {
  const auto* s = reinterpret_cast<const unsigned char*>(window);
  Scorer sjis, euc, utf8;
  CharCodeScores result;
  for (size_t i = 0; i < length; ++i) {
    uint32_t b = s[i];
    // An ASCII byte other than NUL, met at a character boundary in all three codes, changes no score and
    // no state that is read before it is set again (each scorer keeps its code only after a lead byte).
    if (b - 1 < 0x7F && (sjis.pending | euc.pending | utf8.pending) == 0) continue;
    FeedSjis(sjis, b);
    FeedEuc(euc, b);
    FeedUtf8(utf8, b);
    if (b >= 0x80) {
      ++result.highBytes;
    } else if (b == 0) {
      ++((position + i) % 2 == 0 ? result.evenNuls : result.oddNuls);
    }
  }
  result.sjis = sjis.Adjusted();
  result.euc = euc.Adjusted();
  result.utf8 = utf8.Adjusted();
  return result;
}

DetectedCode CCodeConvert::DetectCharCode(const char* sample, size_t length) {
  return DetectCharCode(sample, length, {});
}

DetectedCode CCodeConvert::DetectCharCode(const char* sample, size_t length,
                                          const std::function<bool()>& abandon) {
  if (length == 0) return DetectedCode::Empty;
  const auto* s = reinterpret_cast<const unsigned char*>(sample);
  if (auto code = ByteOrderMark(sample, length)) return *code;
  size_t headLength = std::min(length, kHeadLength);
  if (auto code = ByNulPair(s, headLength)) return *code;
  std::optional<bool> jis = HasJisEscape(s, length, abandon);
  if (!jis) return DetectedCode::Empty;
  if (*jis) return DetectedCode::Jis;
  std::optional<size_t> firstFound = FirstWindowByte(s, length, abandon);
  if (!firstFound) return DetectedCode::Empty;
  const size_t first = *firstFound;
  if (first == length) return DetectedCode::Ascii;
  size_t start = first & ~size_t{3};
  size_t windowLength = std::min(length - start, kWindowLength);
  CharCodeScores scores = ScoreWindow(sample + start, windowLength, start);
  if (scores.evenNuls + scores.oddNuls > 0) {
    return scores.evenNuls >= scores.oddNuls ? DetectedCode::Utf16Be : DetectedCode::Utf16Le;
  }
  std::string_view head(sample, headLength);
  if (scores.highBytes == 0) return Contains(head, "\x0F") ? DetectedCode::Jis : DetectedCode::Ascii;
  DetectedCode byScores = ByScores(scores, head);
  if (byScores == DetectedCode::Utf8 || scores.utf8 <= 0) return byScores;
  // The weights favour Shift-JIS: three UTF-8 bytes of a kanji score 7 as UTF-8 but often 10 or 12 as
  // one and a half Shift-JIS characters, and a window with one or two characters ties. Such a window that
  // reads as valid UTF-8, and goes on doing so, is UTF-8: Shift-JIS and EUC-JP text almost never does.
  size_t confirmLength = std::min(length - start, kUtf8ConfirmLength);
  return ReadsAsUtf8(s + start, confirmLength) ? DetectedCode::Utf8 : byScores;
}

int CCodeConvert::FileCodeOf(DetectedCode code) {
  switch (code) {
    case DetectedCode::Jis:
      return 2;
    case DetectedCode::EucJp:
      return 1;
    case DetectedCode::Utf8:
      return 4;
    case DetectedCode::Utf16Be:
      return 6;
    case DetectedCode::Utf16Le:
      return 5;
    default:
      return 0;
  }
}

}  // namespace matching
