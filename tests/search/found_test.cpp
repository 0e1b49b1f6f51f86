// Text-hit records written over for reuse: whatever a record held before, it ends exactly as a record
// built afresh for the same hit.
#include "search/found.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

void ExpectSameHit(const FOUND_M& reused, const FOUND_M& fresh) {
  EXPECT_EQ(reused.kind, fresh.kind);
  EXPECT_EQ(reused.file, fresh.file);
  EXPECT_EQ(reused.displayPath, fresh.displayPath);
  EXPECT_EQ(reused.lineNumber, fresh.lineNumber);
  EXPECT_EQ(reused.lineNumberText, fresh.lineNumberText);
  EXPECT_EQ(reused.lineText, fresh.lineText);
  EXPECT_EQ(reused.charCode, fresh.charCode);
  EXPECT_EQ(reused.utf8Line, fresh.utf8Line);
}

TEST(FillTextHit, AReusedRecordEqualsAFreshOne) {
  auto first = MakeHitFile("/a/first.txt", "/a/first.txt");
  auto second = MakeHitFile("/b/second.txt", "/b/second.txt");
  struct Hit {
    std::shared_ptr<const HitFile> file;
    int lineNumber;
    std::string lineText;
    int charCode;
    std::string utf8Line;
  };
  struct Case {
    const char* name;
    Hit before;
    Hit after;
  };
  const std::string longLine(10000, 'x');
  const Case cases[] = {
      {"a UTF-8 line after a converted one", {first, 7, "sjis text", 0, ""}, {second, 1, "", 4, "utf8 line"}},
      {"a converted line after a UTF-8 one", {first, 123456, "", 4, "utf8"}, {first, 2, "text", 1, ""}},
      {"a short line after a very long one", {second, 9, longLine, 4, longLine}, {first, 3, "a", 4, "b"}},
      {"a very long line after a short one",
       {first, 1, "a", 4, "b"},
       {second, 2147483647, longLine, 4, longLine}},
      {"an empty line", {first, 5, "line", 5, "line"}, {first, 6, "", 5, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto record = MakeTextHit(c.before.file, c.before.lineNumber, c.before.lineText, c.before.charCode,
                              c.before.utf8Line);
    record->displayPath = "shown/by/the/front/end";  // the front end may have filled it
    record->kind = 0;
    FillTextHit(*record, c.after.file, c.after.lineNumber, c.after.lineText, c.after.charCode,
                c.after.utf8Line);
    auto fresh =
        MakeTextHit(c.after.file, c.after.lineNumber, c.after.lineText, c.after.charCode, c.after.utf8Line);
    ExpectSameHit(*record, *fresh);
    // A record does not keep the room of a very long line for short ones.
    if (c.after.utf8Line.size() < 100) {
      EXPECT_LE(record->utf8Line.capacity(), 4096u);
    }
  }
}

}  // namespace
