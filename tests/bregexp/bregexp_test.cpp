// The run-time regular-expression library called directly: pattern text parsing, Shift-JIS matching,
// errors and their messages, record reuse, limits and threads. Targets are copied into buffers of their
// exact size, so a read past a target's end is caught by AddressSanitizer.
#include "bregexp/bregexp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// A target in a heap buffer of exactly its size (no terminating NUL).
class Target {
 public:
  explicit Target(const std::string& bytes) : size_(bytes.size()), bytes_(new char[bytes.size()]) {
    std::memcpy(bytes_.get(), bytes.data(), bytes.size());
  }
  const char* Begin() const { return bytes_.get(); }
  const char* End() const { return bytes_.get() + size_; }

 private:
  size_t size_;
  std::unique_ptr<char[]> bytes_;
};

// One BMatch call on a fresh record.
struct Outcome {
  int result = 0;
  std::string message;
  long start = -1;  // offsets of the whole match, -1 when there is none
  long end = -1;
  int nparens = -1;
};

Outcome MatchOnce(const std::string& pattern, const std::string& target) {
  Target t(target);
  BREGEXP* rx = nullptr;
  char msg[BREGEXP_MESSAGE_SIZE];
  std::memset(msg, 'x', sizeof msg);
  Outcome out;
  out.result = BMatch(pattern.c_str(), t.Begin(), t.End(), &rx, msg);
  out.message = msg;
  if (rx != nullptr) {
    out.nparens = rx->nparens;
    if (rx->startp[0] != nullptr) {
      out.start = rx->startp[0] - t.Begin();
      out.end = rx->endp[0] - t.Begin();
    }
  }
  BRegfree(rx);
  return out;
}

// True when every lead byte of the text is followed by a trail byte (no character is cut in two).
bool HasWholeCharacters(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      if (i + 1 >= text.size()) return false;
      ++i;
    }
  }
  return true;
}

const std::string kHyou = "\x95\x5c";  // 表: its second byte is the backslash
const std::string kMei = "\x96\xbc";   // 名

TEST(BregexpTest, MatchesAndReportsTheWholeMatch) {
  struct Case {
    const char* name;
    std::string pattern;
    std::string target;
    int result;
    long start;
    long end;
  };
  const Case cases[] = {
      {"dot", "m/a.c/k", "xxabcx", 1, 2, 5},
      {"case significant", "m/a.c/k", "xABC", 0, -1, -1},
      {"ignore case", "m/a.c/ki", "xABC", 1, 1, 4},
      {"flags in any order", "m/a.c/ik", "xABC", 1, 1, 4},
      {"other delimiter", "m!a/b!k", "za/b", 1, 1, 4},
      {"m left out", "/b+/", "abbc", 1, 1, 3},
      {"escaped delimiter", "m/a\\/b/k", "a/b", 1, 0, 3},
      {"empty expression", "m//k", "abc", 1, 0, 0},
      {"empty match on empty target", "m/x*/k", "", 1, 0, 0},
      {"anchor at target start", "m/^b/k", "ab", 0, -1, -1},
      {"anchor at target end", "m/c$/k", "abc", 1, 2, 3},
      {"tab is a tab", "m/a\\tb/k", "a\tb", 1, 0, 3},
      {"no match starts on a trail byte", "m/A/k", "\x83\x41", 0, -1, -1},
      {"without k bytes are characters", "m/A/", "\x83\x41", 1, 1, 2},
      {"double-byte character is one", "m/^.$/k", kHyou, 1, 0, 2},
      {"without k it is two", "m/^.$/", kHyou, 0, -1, -1},
      {"pattern across a character boundary", "m/" + kHyou + "/k", "\x8c\x95\x5c\x40", 0, -1, -1},
      {"pattern on a boundary", "m/" + kHyou + "/k", "\x8c\x95" + kHyou, 1, 2, 4},
      {"trail byte of the delimiter's value", "m\\" + kHyou + "\\k", "x" + kHyou, 1, 1, 3},
      {"lone lead byte at target end is no character", "m/b./k", "ab\x81", 0, -1, -1},
      {"text before a lone lead byte matches", "m/b/k", "ab\x81", 1, 1, 2},
      {"lone lead byte in target", "m/c/k",
       "a\x81\x20"
       "c",
       1, 3, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome out = MatchOnce(c.pattern, c.target);
    EXPECT_EQ(out.result, c.result) << out.message;
    EXPECT_EQ(out.start, c.start);
    EXPECT_EQ(out.end, c.end);
  }
}

TEST(BregexpTest, GroupsThatTookNoPartAreNull) {
  Target t("ab");
  BREGEXP* rx = nullptr;
  char msg[BREGEXP_MESSAGE_SIZE];
  ASSERT_EQ(BMatch("m/(a)(x)?(b)/k", t.Begin(), t.End(), &rx, msg), 1);
  ASSERT_EQ(rx->nparens, 3);
  EXPECT_EQ(rx->startp[1], t.Begin());
  EXPECT_EQ(rx->startp[2], nullptr);
  EXPECT_EQ(rx->endp[2], nullptr);
  EXPECT_EQ(rx->startp[3], t.Begin() + 1);
  // A search that finds nothing leaves no stale positions behind.
  EXPECT_EQ(BMatch("m/(a)(x)?(b)/k", t.Begin(), t.Begin() + 1, &rx, msg), 0);
  EXPECT_EQ(rx->startp[0], nullptr);
  EXPECT_EQ(rx->startp[1], nullptr);
  BRegfree(rx);
}

TEST(BregexpTest, RejectedPatternsFailWithAShortMessage) {
  std::string deep(3000, '(');
  deep += "a" + std::string(3000, ')');
  std::string longName = "x";
  for (int i = 0; i < 60; ++i) longName += kMei;
  struct Case {
    const char* name;
    std::string pattern;
  };
  const Case cases[] = {
      {"no m", "abc"},
      {"only m", "m"},
      {"no closing delimiter", "m/abc"},
      {"escaped closing delimiter", "m/abc\\/k"},
      {"unknown flag", "m/abc/kq"},
      {"unmatched parenthesis", "m/(abc/k"},
      {"open class", "m/[a/k"},
      {"bad repeat range", "m/a{2,1}/k"},
      {"trailing escape", "m/a\\/k"},
      {"nesting too deep", "m/" + deep + "/k"},
      {"long text in the message", "m/\\p{" + longName + "}/k"},
      {"lone lead byte in expression", "m/\x81/k"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Target t("abc");
    BREGEXP* rx = nullptr;
    char msg[BREGEXP_MESSAGE_SIZE];
    std::memset(msg, 'x', sizeof msg);
    EXPECT_LT(BMatch(c.pattern.c_str(), t.Begin(), t.End(), &rx, msg), 0);
    EXPECT_EQ(rx, nullptr);
    const std::string message(msg, strnlen(msg, sizeof msg));
    EXPECT_FALSE(message.empty());
    EXPECT_LT(message.size(), 80u);
    EXPECT_TRUE(HasWholeCharacters(message)) << message;
  }
}

TEST(BregexpTest, BadArgumentsAreErrorsNotCrashes) {
  Target t("abc");
  BREGEXP* rx = nullptr;
  char msg[BREGEXP_MESSAGE_SIZE];
  EXPECT_LT(BMatch("m/a/k", t.Begin(), t.End(), nullptr, msg), 0);
  EXPECT_GT(std::strlen(msg), 0u);
  EXPECT_LT(BMatch("m/a/k", t.End(), t.Begin(), &rx, msg), 0);
  EXPECT_LT(BMatch("m/a/k", nullptr, nullptr, &rx, msg), 0);
  EXPECT_LT(BMatch(nullptr, t.Begin(), t.End(), &rx, msg), 0);
  EXPECT_EQ(rx, nullptr);
  // The message buffer may be left out.
  EXPECT_LT(BMatch("m/(/k", t.Begin(), t.End(), &rx, nullptr), 0);
  EXPECT_EQ(BMatch("m/a/k", t.Begin(), t.End(), &rx, nullptr), 1);
  BRegfree(rx);
  BRegfree(nullptr);
}

TEST(BregexpTest, RecordIsReusedAndRecompiledForAnotherPattern) {
  Target t("abc");
  BREGEXP* rx = nullptr;
  char msg[BREGEXP_MESSAGE_SIZE];
  ASSERT_EQ(BMatch("m/b/k", t.Begin(), t.End(), &rx, msg), 1);
  BREGEXP* const first = rx;
  EXPECT_EQ(BMatch("m/b/k", t.Begin() + 2, t.End(), &rx, msg), 0);
  EXPECT_EQ(BMatch(nullptr, t.Begin(), t.End(), &rx, msg), 1);  // null pattern: the record as it is
  EXPECT_EQ(rx, first);

  ASSERT_EQ(BMatch("m/(c)/k", t.Begin(), t.End(), &rx, msg), 1);
  EXPECT_EQ(rx->startp[0], t.Begin() + 2);
  EXPECT_EQ(rx->nparens, 1);

  // A failed compile keeps the record and its expression.
  BREGEXP* const before = rx;
  EXPECT_LT(BMatch("m/(/k", t.Begin(), t.End(), &rx, msg), 0);
  EXPECT_EQ(rx, before);
  EXPECT_EQ(BMatch("m/(c)/k", t.Begin(), t.End(), &rx, msg), 1);
  EXPECT_EQ(rx->startp[1], t.Begin() + 2);
  BRegfree(rx);
}

TEST(BregexpTest, RunawayBacktrackingEndsWithAMessage) {
  const std::string line(100000, 'a');
  // Oniguruma sees that no "b" occurs and gives up at once.
  EXPECT_EQ(MatchOnce("m/(a*)*b/k", line).result, 0);
  // Here no shortcut applies: the retry limit stops the search.
  const Outcome out = MatchOnce("m/(a+)+[bc]/k", std::string(40, 'a'));
  EXPECT_LT(out.result, 0);
  EXPECT_FALSE(out.message.empty());
  const Outcome nested = MatchOnce("m/(?:(?:a|aa)+)+c/k", line);
  EXPECT_LT(nested.result, 0);
  EXPECT_FALSE(nested.message.empty());
}

TEST(BregexpTest, TwoThreadsUseTwoRecords) {
  auto work = [](std::string pattern, std::string text, long expectedStart, int* failures) {
    Target t(text);
    BREGEXP* rx = nullptr;
    char msg[BREGEXP_MESSAGE_SIZE];
    for (int i = 0; i < 2000; ++i) {
      if (BMatch(pattern.c_str(), t.Begin(), t.End(), &rx, msg) != 1 ||
          rx->startp[0] - t.Begin() != expectedStart) {
        ++*failures;
      }
    }
    BRegfree(rx);
  };
  int failuresA = 0, failuresB = 0;
  std::thread a(work, "m/c+d/ki", "abCCd", 2L, &failuresA);
  std::thread b(work, "m/" + kHyou + "/k", "\x8c\x95" + kHyou, 2L, &failuresB);
  a.join();
  b.join();
  EXPECT_EQ(failuresA, 0);
  EXPECT_EQ(failuresB, 0);
}

TEST(BregexpTest, VersionNamesTheEngine) {
  const std::string version = BRegexpVersion();
  EXPECT_NE(version.find("Oniguruma"), std::string::npos) << version;
  EXPECT_EQ(BRegexpVersion(), BRegexpVersion());
}

}  // namespace
