// The code a file is read in when the setting is automatic, for files whose first part holds zero bytes:
// byte-order marks are read on the raw bytes, UTF-16 without a mark is recognised, everything else is
// detected on the text before the first zero byte as it always was.
#include "search/file_text.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/event.h"
#include "platform/file_buffer.h"
#include "search/search.h"
#include "search/search_conditions.h"
#include "testkit/temp_tree.h"

namespace {

using namespace std::string_literals;

// "検索 key\r\n" in UTF-16, without a mark.
const std::string kLe = "\x1C\x69\x22\x7D\x20\x00k\x00\x65\x00y\x00\r\x00\n\x00"s;
const std::string kBe = "\x69\x1C\x7D\x22\x00\x20\x00k\x00\x65\x00y\x00\r\x00\n"s;

TEST(FileCodeTest, CodeOfFilesWithZeroBytes) {
  struct Case {
    const char* name;
    std::string bytes;
    int code;
  } cases[] = {
      {"UTF-16LE without a mark", kLe, kCodeUtf16Le},
      {"UTF-16BE without a mark", kBe, kCodeUtf16Be},
      {"UTF-16LE with its mark", "\xFF\xFE"s + kLe, kCodeUtf16Le},
      // The mark holds zero bytes; cut at the first of them it would read as the UTF-16LE mark.
      {"UTF-32LE with its mark", "\xFF\xFE\x00\x00k\x00\x00\x00"s, kCodeSjis},
      {"UTF-8 with its mark, then a zero byte", "\xEF\xBB\xBF\xE6\xA4\x9C\xE7\xB4\xA2\x00"s, kCodeUtf8},
      {"EUC-JP text before a zero byte", "\xB8\xA1\xBA\xF7\xA4\xB9\xA4\xEB\n\x00\x01"s, kCodeEuc},
      {"a binary's header",
       "\x7F"
       "ELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"s,
       kCodeSjis},
  };
  TempTree tree;
  platform::FileBuffer buffer(1 << 20);
  const platform::Event stop(platform::Event::Mode::Manual);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int fd = open(tree.File("f", c.bytes).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    FileText file = ReadFileText(fd, buffer, kCodeAuto, stop);
    close(fd);
    EXPECT_EQ(file.code, c.code);
    EXPECT_EQ(file.length, c.bytes.size());
  }
}

}  // namespace
