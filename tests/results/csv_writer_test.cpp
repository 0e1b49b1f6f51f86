#include "results/csv_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "search/found.h"

namespace {

std::string Utf8(const std::string& cp932) {
  return platform::Utf8FromCp932(cp932);
}

FOUND_M TextHit(const std::string& line) {
  FOUND_M hit;
  hit.file = MakeHitFile("/src/main.c", "/src/main.c");
  hit.lineNumber = 12;
  hit.lineNumberText = "12";
  hit.lineText = line;
  return hit;
}

// Regression: quotes inside a cell were written as they stand, so a line such as printf("a, b"); came
// back from any CSV reader as several broken cells.
TEST(CsvRow, ResultFileDoublesQuotesInsideCells) {
  struct Case {
    const char* line;
    const char* cell;
  } cases[] = {
      {"printf(\"a, b\");", "\"printf(\"\"a, b\"\");\""},
      {"\"", "\"\"\"\""},
      {"\"\"x\"", "\"\"\"\"\"x\"\"\""},
      {"no quotes, a comma", "\"no quotes, a comma\""},
      {"", "\"\""},
  };
  std::string row;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(CsvRow(TextHit(c.line), {3}, "/src", row));
    EXPECT_EQ(row, std::string(c.cell) + "\r\n");
  }
}

TEST(CsvRow, CellsFollowTheColumnOrderAndTheirQuotingRules) {
  FOUND_M text = TextHit("int x;");
  std::string row;
  ASSERT_TRUE(CsvRow(text, {2, 0, 1, 3}, ".", row));
  EXPECT_EQ(row, "12,\"main.c\",\".\",\"int x;\"\r\n");

  // A file hit without size, type or attributes texts gives empty cells there; the counts are numbers.
  FOUND_F folder;
  folder.kind = 4;
  folder.name = "docs";
  folder.folder = "/home/u";
  folder.dateText = "2026/12/10 09:00";
  folder.folderCountText = "3";
  folder.fileCountText = "17";
  ASSERT_TRUE(CsvRow(folder, {0, 1, 2, 3, 4, 5, 6, 7}, folder.folder, row));
  EXPECT_EQ(row, "\"docs\",\"/home/u\",,\"2026/12/10 09:00\",,,3,17\r\n");

  EXPECT_FALSE(CsvRow(text, {4}, ".", row));
  EXPECT_FALSE(CsvRow(folder, {-1}, ".", row));
}

TEST(CsvHeader, TitlesInDisplayOrder) {
  std::string row;
  ASSERT_TRUE(CsvHeader({3, 2, 0, 1}, true, row));
  EXPECT_EQ(Utf8(row), "\"内容\",\"行\",\"ファイル\",\"フォルダ\"\r\n");
  EXPECT_FALSE(CsvHeader({0, 4}, true, row));
  EXPECT_TRUE(CsvHeader({7}, false, row));
  EXPECT_FALSE(CsvHeader({8}, false, row));
}

}  // namespace
