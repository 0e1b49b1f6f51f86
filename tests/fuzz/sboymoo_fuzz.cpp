// Fuzzes the matcher and the code page 932 character rules: the first byte gives the pattern's length, the
// next bytes are the pattern, the rest is the text. Every search runs in both forms over exactly sized
// buffers and must agree with a naive reference; the character functions are checked against a reference
// character split.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "matching/mbcs.h"
#include "matching/sboymoo.h"

namespace {

using matching::CSboymoo;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool RefLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool RefTrail(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
unsigned char Lower(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

// Byte length of the character at i of s (s holds no NUL), read as if a character began there.
size_t RefCharLen(const std::string& s, size_t i) {
  if (i >= s.size()) return 0;
  return RefLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
                 RefTrail(static_cast<unsigned char>(s[i + 1]))
             ? 2
             : 1;
}

std::vector<unsigned> RefChars(const std::string& s, size_t from, size_t limit) {
  std::vector<unsigned> out;
  for (size_t i = from; i < s.size() && out.size() < limit;) {
    size_t len = RefCharLen(s, i);
    auto c = static_cast<unsigned char>(s[i]);
    if (len == 2) {
      unsigned v = c * 256u + static_cast<unsigned char>(s[i + 1]);
      out.push_back(v >= 0x8260 && v <= 0x8279 ? v + 0x21 : v);
    } else {
      out.push_back(Lower(c));
    }
    i += len;
  }
  return out;
}

std::vector<bool> RefTrailFlags(const std::string& s) {
  std::vector<bool> trail(s.size() + 1, false);
  for (size_t i = 0; i < s.size();) {
    size_t len = RefCharLen(s, i);
    if (len == 2) trail[i + 1] = true;
    i += len;
  }
  return trail;
}

enum Kind { kExact, kNoCase, kMbcs };

bool RefMatchAt(Kind kind, const std::string& p, const std::string& s, size_t i) {
  if (kind == kMbcs) {
    std::vector<unsigned> want = RefChars(p, 0, SIZE_MAX);
    return RefChars(s, i, want.size()) == want;
  }
  if (i + p.size() > s.size()) return false;
  for (size_t j = 0; j < p.size(); ++j) {
    auto a = static_cast<unsigned char>(s[i + j]), b = static_cast<unsigned char>(p[j]);
    if (kind == kExact ? a != b : Lower(a) != Lower(b)) return false;
  }
  return true;
}

long RefSearch(Kind kind, const std::string& p, const std::string& s) {
  if (p.empty()) return static_cast<long>(s.size());
  for (size_t i = 0; i < s.size(); ++i)
    if (RefMatchAt(kind, p, s, i)) return static_cast<long>(i);
  return -1;
}

long Offset(const char* hit, const char* base, size_t size) {
  if (hit == nullptr) return -1;
  Check(hit >= base && hit <= base + size);
  return hit - base;
}

void CheckSearches(const std::string& pattern, const char* withNul, const char* bare,
                   const std::string& text) {
  CSboymoo bm(pattern.c_str());
  const size_t n = text.size();
  const Kind kinds[] = {kExact, kNoCase, kMbcs};
  for (Kind kind : kinds) {
    const char* viaNul = kind == kExact    ? bm.Find(withNul)
                         : kind == kNoCase ? bm.FindNoCase(withNul)
                                           : bm.FindNoCaseMbcs(withNul);
    const char* viaLength = kind == kExact    ? bm.Find(bare, n)
                            : kind == kNoCase ? bm.FindNoCase(bare, n)
                                              : bm.FindNoCaseMbcs(bare, n);
    long expected = RefSearch(kind, pattern, text);
    Check(Offset(viaNul, withNul, n) == expected);
    Check(Offset(viaLength, bare, n) == expected);
  }
  std::vector<bool> trail = RefTrailFlags(text);
  for (bool ignoreCase : {false, true}) {
    bool expected = pattern.empty() && !text.empty();
    for (size_t i = 0; i < n && !expected; ++i)
      expected = !pattern.empty() && RefMatchAt(ignoreCase ? kMbcs : kExact, pattern, text, i) && !trail[i];
    Check(bm.HasHitOnBoundary(withNul, ignoreCase) == expected);
    Check(bm.HasHitOnBoundary(bare, n, ignoreCase) == expected);
  }
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

void CheckCharacterRules(const std::string& pattern, const char* withNul, const std::string& text) {
  using namespace matching;
  const size_t n = text.size();
  std::vector<bool> trail = RefTrailFlags(text);
  for (size_t i = 0; i <= n; ++i) {
    Check(IsTrailAt(withNul, withNul + i) == trail[i]);
    Check(IsTrailAt(std::string_view(text), i) == trail[i]);
    size_t cut = BoundaryAtOrBefore(text, i);
    Check(cut <= i && i - cut <= 1 && !trail[cut]);
  }
  Check(MbsLen(withNul) == RefChars(text, 0, SIZE_MAX).size());
  std::vector<unsigned> kp = RefChars(pattern, 0, SIZE_MAX), kt = RefChars(text, 0, SIZE_MAX);
  int expected = kp < kt ? -1 : (kt < kp ? 1 : 0);
  Check(Sign(MbsICmp(pattern.c_str(), withNul)) == expected);
  Check(Sign(MbsICmp(withNul, pattern.c_str())) == -expected);
  Check(Sign(MbsICmp(std::string_view(pattern), std::string_view(text))) == expected);
  const size_t chars = pattern.empty() ? 0 : static_cast<unsigned char>(pattern[0]) % 5;
  std::vector<unsigned> pp(kp.begin(), kp.begin() + std::min(chars, kp.size()));
  std::vector<unsigned> tt(kt.begin(), kt.begin() + std::min(chars, kt.size()));
  Check(Sign(MbsNICmp(pattern.c_str(), withNul, chars)) == (pp < tt ? -1 : (tt < pp ? 1 : 0)));
  for (char c : pattern) {
    const char* first = MbsChr(withNul, c);
    const char* last = MbsRChr(withNul, c);
    Check((first == nullptr) == (last == nullptr));
    if (first != nullptr) {
      Check(first <= last && *first == c && *last == c &&
            RefCharLen(text, static_cast<size_t>(first - withNul)) == 1);
      Check(!trail[static_cast<size_t>(first - withNul)] && !trail[static_cast<size_t>(last - withNul)]);
    }
    Check(MbsFindChar(text, c) == (first == nullptr ? std::string_view::npos : size_t(first - withNul)));
    Check(MbsRFindChar(text, c) == (last == nullptr ? std::string_view::npos : size_t(last - withNul)));
  }
  std::string lowered = text;
  MbsLower(lowered);
  Check(lowered.size() == n && MbsICmp(std::string_view(lowered), std::string_view(text)) == 0);
  std::string ascii = text;
  MbsLowerAscii(ascii);
  for (size_t i = 0; i < n; ++i)
    Check(trail[i] ? ascii[i] == text[i]
                   : ascii[i] == static_cast<char>(Lower(static_cast<unsigned char>(text[i]))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t patternSize = std::min<size_t>(data[0] % 12, size - 1);
  std::string pattern(reinterpret_cast<const char*>(data + 1), patternSize);
  pattern.resize(std::strlen(pattern.c_str()));  // the pattern ends at a NUL
  std::string raw(reinterpret_cast<const char*>(data + 1 + patternSize), size - 1 - patternSize);
  std::string text = raw.substr(0, raw.find('\0'));  // what the searches see

  // Exactly sized buffers: the raw bytes with a NUL after them, and the text without any NUL.
  auto withNul = std::make_unique<char[]>(raw.size() + 1);
  std::memcpy(withNul.get(), raw.data(), raw.size());
  withNul[raw.size()] = '\0';
  auto bare = std::make_unique<char[]>(text.size());
  std::memcpy(bare.get(), text.data(), text.size());

  CheckSearches(pattern, withNul.get(), bare.get(), text);
  CheckCharacterRules(pattern, withNul.get(), text);
  return 0;
}
