// CSboymoo: the fixed-string matcher (Shift-JIS Boyer-Moore). One matcher is built per pattern form at
// the start of a search and then serves any number of searches, from any number of threads (searching
// does not change it).
//
// A matcher works on bytes and knows nothing of character boundaries: a hit may begin on the second byte
// of a double-byte character. Callers searching Shift-JIS text reject such hits with IsTrailAt or ask
// HasHitOnBoundary.
//
// Every search has two forms. The NUL-terminated form stops at the text's NUL and reads nothing past it.
// The length form searches exactly `length` bytes and reads nothing outside them; it is for callers that
// already know where their text ends (the text scan knows its buffer's first zero byte), so a search costs
// only the bytes it passes over, never a walk to the end of the text. Its bytes must hold no NUL: as a NUL
// ends the text, a hit found past one would be reported all the same.
#pragma once

#include <cstddef>
#include <cstdint>

namespace matching {

class CSboymoo {
 public:
  // Builds the matcher for a NUL-terminated pattern, which is copied. Throws the integer 1 when the copy
  // cannot be allocated (or the pattern is longer than 2^31 - 2 bytes).
  explicit CSboymoo(const char* pattern);
  virtual ~CSboymoo();
  CSboymoo(const CSboymoo&) = delete;
  CSboymoo& operator=(const CSboymoo&) = delete;

  // Leftmost exact occurrence (Boyer-Moore-Horspool): pointer to its first byte, or nullptr.
  // An empty pattern gives the end of the text (its NUL, or text + length), as all searches do.
  const char* Find(const char* text) const;
  const char* Find(const char* text, size_t length) const;

  // Leftmost occurrence comparing pattern-length bytes with the ASCII letters folded (bytes >= 0x80
  // compare exactly), or nullptr. For the EUC-JP, JIS and UTF-8 forms of a pattern.
  const char* FindNoCase(const char* text) const;
  const char* FindNoCase(const char* text, size_t length) const;

  // Leftmost position where the pattern matches character by character in code page 932 with case folding
  // (MbsNICmp over the pattern's characters), or nullptr. The text is read from each candidate as if a
  // character began there, so the hit may start on a trail byte.
  const char* FindNoCaseMbcs(const char* text) const;
  const char* FindNoCaseMbcs(const char* text, size_t length) const;

  // True when the Shift-JIS text holds an occurrence that starts on a character boundary: hits found by
  // FindNoCaseMbcs (ignoreCase) or Find that begin on a trail byte are skipped. False for an empty text.
  bool HasHitOnBoundary(const char* text, bool ignoreCase) const;
  bool HasHitOnBoundary(const char* text, size_t length, bool ignoreCase) const;

  // The matcher's own copy of the pattern, NUL-terminated.
  const char* Pattern() const { return pattern_; }
  // True when no character of the pattern has another case: FindNoCaseMbcs finds what Find finds.
  bool FoldsNothing() const { return mbcsIsExact_; }
  // Pattern length in bytes.
  int32_t Length() const { return length_; }
  // The candidate bytes of the case-insensitive searches: the pattern's first byte, and for a letter the
  // same letter in the other case, small letter first. Empty for an empty pattern.
  const char* FirstBytes() const { return firstBytes_; }

 private:
  size_t Horspool(const unsigned char* text, size_t length, size_t& end) const;
  size_t TableScan(const unsigned char* text, size_t length, size_t& i) const;
  size_t BlockScan(const unsigned char* text, size_t length, size_t& i) const;
  bool MatchesAt(const unsigned char* text, size_t i) const;
  const char* FindUnbounded(const char* text) const;
  bool EqualNoCase(const char* at) const;
  template <bool kMbcs>
  const char* FindFolded(const char* text, size_t length) const;
  template <bool kMbcs>
  const char* FindFoldedUnbounded(const char* text) const;

  int32_t shift_[256];
  int32_t length_ = 0;
  unsigned char last_ = 0;
  char* pattern_ = nullptr;  // owned, NUL-terminated
  char firstBytes_[4] = {};
  size_t chars_ = 0;            // characters of the pattern in code page 932
  bool noCaseIsExact_ = false;  // no ASCII letter in the pattern: FindNoCase finds what Find finds
  bool mbcsIsExact_ = false;    // nothing to fold in any character: FindNoCaseMbcs finds what Find finds
};

}  // namespace matching
