#include "results/list_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "search/found.h"

namespace {

using Labels = std::vector<std::string>;

// "ファイル" and "フォルダ" in code page 932.
const std::string kFairu = "\x83\x74\x83\x40\x83\x43\x83\x8b";
const std::string kForuda = "\x83\x74\x83\x48\x83\x8b\x83\x5f";

// A file hit and the label by which a case names it; the label rides in the native path, which no
// column sorts by.
struct FileRow {
  FileRow(std::string label, int kind, std::string name, std::string folder = "/f", uint64_t size = 0,
          int64_t written = 0, std::string typeName = "", std::string attributes = "", int folderCount = 0,
          int fileCount = 0)
      : label(std::move(label)),
        kind(kind),
        name(std::move(name)),
        folder(std::move(folder)),
        size(size),
        written(written),
        typeName(std::move(typeName)),
        attributes(std::move(attributes)),
        folderCount(folderCount),
        fileCount(fileCount) {}
  std::string label;
  int kind;
  std::string name;
  std::string folder;
  uint64_t size;
  int64_t written;
  std::string typeName;
  std::string attributes;
  int folderCount;
  int fileCount;
};

std::vector<std::unique_ptr<FOUND_F>> FileRows(const std::vector<FileRow>& rows) {
  std::vector<std::unique_ptr<FOUND_F>> records;
  for (const FileRow& r : rows) {
    auto hit = std::make_unique<FOUND_F>();
    hit->kind = r.kind;
    hit->name = r.name;
    hit->folder = r.folder;
    hit->size = r.size;
    hit->written = r.written;
    hit->typeName = r.typeName;
    hit->attributesText = r.attributes;
    hit->folderCount = r.folderCount;
    hit->fileCount = r.fileCount;
    hit->nativePath = r.label;  // the label travels with the record
    records.push_back(std::move(hit));
  }
  return records;
}

Labels SortedFileLabels(const std::vector<FileRow>& rows, int column, bool descending) {
  auto records = FileRows(rows);
  SortFileRows(records, column, descending);
  Labels labels;
  for (const auto& r : records) labels.push_back(r->nativePath);
  return labels;
}

struct FileCase {
  const char* name;
  int column;
  std::vector<FileRow> rows;
  Labels ascending;
  bool distinct = true;  // no two rows are equal in every key: the descending order is the exact reverse
};

// Rows given in an order that no case expects, so that a sort that does nothing fails.
TEST(ListSort, FileColumnsWithTheirTieBreaks) {
  FileCase cases[] = {
      {"name: ASCII letters fold",
       0,
       {{"c", 2, "b.TXT"}, {"b", 2, "B.txt"}, {"a", 2, "a.txt"}},
       {"a", "c", "b"},  // "b.TXT" and "B.txt" are equal in every key: the stable sort keeps their order
       false},
      {"name: full-width letters fold, double-byte characters compare as units",
       0,
       {{"katakana", 2, "\x83\x41"}, {"fwB", 2, "\x82\x61"}, {"fwa", 2, "\x82\x81"}, {"ascii", 2, "z"}},
       {"ascii", "fwa", "fwB", "katakana"}},
      {"name: equal names order by kind, folders first, then by folder",
       0,
       {{"file /b", 2, "x", "/b"}, {"file /a", 2, "x", "/A"}, {"folder", 4, "X", "/z"}},
       {"folder", "file /a", "file /b"}},
      {"folder: folder first, then kind, name",
       1,
       {{"b2", 2, "n", "/b"}, {"a2", 2, "n", "/a"}, {"b4", 4, "z", "/b"}, {"a-m", 2, "m", "/a"}},
       {"a-m", "a2", "b4", "b2"}},
      {"size: folders first, each group with the larger size first",
       2,
       {{"f1", 2, "a", "/", 1}, {"d9", 4, "b", "/", 9}, {"f9", 2, "c", "/", 9}, {"d1", 4, "d", "/", 1}},
       {"d9", "d1", "f9", "f1"}},
      {"size: compared as unsigned 64-bit",
       2,
       {{"small", 2, "a", "/", 1}, {"top bit", 2, "b", "/", UINT64_C(0x8000000000000001)}},
       {"top bit", "small"}},
      {"size: equal sizes by name", 2, {{"b", 2, "b", "/", 5}, {"a", 2, "a", "/", 5}}, {"a", "b"}},
      {"date: older first, signed",
       3,
       {{"new", 2, "a", "/", 0, 1700000000}, {"pre-1970", 2, "b", "/", 0, -5}, {"zero", 2, "c", "/", 0, 0}},
       {"pre-1970", "zero", "new"}},
      {"type: text order, then the tie-breaks",
       4,
       {{"txt b", 2, "b", "/", 0, 0, "TXT " + kFairu},
        {"dir", 4, "z", "/", 0, 0, kFairu + " " + kForuda},
        {"txt a", 2, "a", "/", 0, 0, "txt " + kFairu}},
       {"txt a", "txt b", "dir"}},
      {"attributes: text order",
       5,
       {{"RA", 2, "a", "/", 0, 0, "", "RA"}, {"A", 2, "b", "/", 0, 0, "", "A"}, {"none", 2, "c", "/"}},
       {"none", "A", "RA"}},
      {"folder count: larger first",
       6,
       {{"1", 4, "a", "/", 0, 0, "", "", 1}, {"10", 4, "b", "/", 0, 0, "", "", 10}, {"0", 4, "c", "/"}},
       {"10", "1", "0"}},
      {"file count: larger first, then the tie-breaks",
       7,
       {{"3 b", 4, "b", "/", 0, 0, "", "", 0, 3},
        {"7", 4, "z", "/", 0, 0, "", "", 0, 7},
        {"3 a", 4, "a", "/", 0, 0, "", "", 0, 3}},
       {"7", "3 a", "3 b"}},
      {"a column the list does not have: the tie-breaks alone",
       9,
       {{"file b", 2, "b"}, {"file a", 2, "a"}, {"folder", 4, "c"}},
       {"folder", "file a", "file b"}},
  };
  for (const FileCase& c : cases) {
    EXPECT_EQ(SortedFileLabels(c.rows, c.column, false), c.ascending) << c.name;
    if (!c.distinct) continue;
    Labels descending(c.ascending.rbegin(), c.ascending.rend());
    EXPECT_EQ(SortedFileLabels(c.rows, c.column, true), descending) << c.name << " (descending)";
  }
}

TEST(ListSort, DescendingNegatesTheTieBreaksTooAndKeepsEqualRowsInOrder) {
  std::vector<FileRow> rows = {
      {"x1", 2, "X", "/a"}, {"d", 4, "m", "/a"}, {"x2", 2, "x", "/A"}, {"y", 2, "y", "/a"}};
  // "X" in /a and "x" in /A are equal in every key: they keep their order in both directions.
  EXPECT_EQ(SortedFileLabels(rows, 0, false), (Labels{"d", "x1", "x2", "y"}));
  EXPECT_EQ(SortedFileLabels(rows, 0, true), (Labels{"y", "x1", "x2", "d"}));
}

TEST(ListSort, CompareFileHitsSign) {
  auto records = FileRows({{"a", 2, "a"}, {"b", 2, "b"}});
  EXPECT_LT(CompareFileHits(*records[0], *records[1], 0), 0);
  EXPECT_GT(CompareFileHits(*records[1], *records[0], 0), 0);
  EXPECT_EQ(CompareFileHits(*records[0], *records[0], 0), 0);
}

TEST(ListSort, SelectedRecordIsFoundAtItsNewRow) {
  auto records = FileRows({{"b", 2, "b"}, {"c", 2, "c"}, {"a", 2, "a"}});
  const FOUND_F* selected = records[0].get();
  SortFileRows(records, 0, false);
  EXPECT_EQ(records[1].get(), selected);
  EXPECT_EQ(records[1]->name, "b");
}

// Text hits: file name, folder, line number, line text; hits of one file share one file record.
struct TextRow {
  std::string label;
  std::string file;
  std::string folder;
  int line;
  std::string text;
};

Labels SortedTextLabels(const std::vector<TextRow>& rows, int column, bool descending) {
  std::vector<std::unique_ptr<FOUND_M>> records;
  std::vector<std::shared_ptr<const HitFile>> files;
  for (const TextRow& r : rows) {
    std::shared_ptr<const HitFile> file;
    for (const auto& known : files) {
      if (known->fileName == r.file && known->folder == r.folder) file = known;
    }
    if (!file) {
      file = MakeHitFile(r.folder + "/" + r.file, r.folder + "/" + r.file);
      files.push_back(file);
    }
    records.push_back(MakeTextHit(file, r.line, r.text, 0));
    records.back()->displayPath = r.label;  // the label rides in the display path, which no column sorts by
  }
  SortTextRows(records, column, descending);
  Labels labels;
  for (const auto& r : records) labels.push_back(r->displayPath);
  return labels;
}

TEST(ListSort, TextColumnsWithTheirTieBreaks) {
  struct Case {
    const char* name;
    int column;
    std::vector<TextRow> rows;
    Labels ascending;
  };
  Case cases[] = {
      {"file: name, folder, line",
       0,
       {{"b.txt", "b.txt", "/a", 1, ""},
        {"A.txt /b 2", "A.txt", "/b", 2, ""},
        {"a.txt /b 1", "a.txt", "/b", 1, ""},
        {"a.txt /a 9", "a.txt", "/a", 9, ""},
        {"a.txt /a 10", "a.txt", "/a", 10, ""}},
       {"a.txt /a 9", "a.txt /a 10", "a.txt /b 1", "A.txt /b 2", "b.txt"}},
      {"folder: folder, name, line",
       1,
       {{"/b a", "a", "/b", 1, ""},
        {"/a b", "b", "/a", 1, ""},
        {"/a a 3", "a", "/a", 3, ""},
        {"/A a 2", "a", "/A", 2, ""}},
       {"/A a 2", "/a a 3", "/a b", "/b a"}},
      {"line: numerically, 9 before 10, then by file name and folder",
       2,
       {{"10", "a", "/", 10, ""},
        {"9 b", "b", "/", 9, ""},
        {"9 a /z", "a", "/z", 9, ""},
        {"9 a /y", "a", "/y", 9, ""},
        {"-1", "a", "/", -1, ""}},
       {"-1", "9 a /y", "9 a /z", "9 b", "10"}},
      {"content: identical lines by file name, folder, line",
       3,
       {{"same b", "b", "/", 1, "x"},
        {"same a /z 5", "a", "/z", 5, "X"},
        {"same a /z 2", "a", "/z", 2, "x"},
        {"same a /y", "a", "/y", 7, "x"},
        {"other", "a", "/", 1, "w"}},
       {"other", "same a /y", "same a /z 2", "same a /z 5", "same b"}},
      {"content: double-byte characters after one-byte ones",
       3,
       {{"kanji", "a", "/", 1, "\x88\x9f"}, {"tilde", "a", "/", 2, "~"}},
       {"tilde", "kanji"}},
      {"a column above 3 compares as column 0",
       4,
       {{"b", "b", "/", 1, "a"}, {"a 2", "a", "/", 2, "b"}, {"a 1", "a", "/", 1, "c"}},
       {"a 1", "a 2", "b"}},
      {"a negative column compares as column 0",
       -1,
       {{"b", "b", "/", 1, "a"}, {"a", "a", "/", 1, "b"}},
       {"a", "b"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SortedTextLabels(c.rows, c.column, false), c.ascending) << c.name;
    Labels descending(c.ascending.rbegin(), c.ascending.rend());
    EXPECT_EQ(SortedTextLabels(c.rows, c.column, true), descending) << c.name << " (descending)";
  }
}

// Random texts from pieces that meet every rule of the text order: letters of both cases, full-width
// letters, katakana of one and two bytes, lone lead bytes, bytes above the lead ranges, a NUL, and lengths
// on both sides of the 16 bytes a sort key holds inline.
std::string RandomText(std::mt19937& random) {
  static const std::string pieces[] = {"a",        "A",
                                       "b",        "B",
                                       "~",        "\x7f",
                                       "\x80",     "\xb1",
                                       "\x81",     "\x82\x60",
                                       "\x82\x81", "\x82\x61",
                                       "\x82\x79", "\x82\x9a",
                                       "\x82\x7a", "\x82\x5f",
                                       "\x83\x41", "\x88\x9f",
                                       "\xfc\xfc", "\xfd",
                                       "\xff",     std::string(1, '\0'),
                                       "/",        "0123456789abcdef"};
  std::string text;
  for (int n = random() % 8; n > 0; --n) text += pieces[random() % std::size(pieces)];
  return text;
}

// The sort must order rows exactly as a stable sort by the comparison functions does, for every column
// and both directions; the random rows share many keys, so the tie-breaks and the stability count.
TEST(ListSort, SortAgreesWithTheComparisons) {
  std::mt19937 random(24680);
  for (int round = 0; round < 20; ++round) {
    std::vector<FileRow> fileRows;
    for (int i = 0; i < 300; ++i) {
      fileRows.push_back({std::to_string(i), random() % 2 ? 2 : 4, RandomText(random), RandomText(random),
                          random() % 3 == 0 ? UINT64_MAX - random() % 3 : random() % 3,
                          static_cast<int64_t>(random() % 5) - 2, RandomText(random), RandomText(random),
                          static_cast<int>(random() % 3) - 1, static_cast<int>(random() % 3)});
    }
    for (int column = -1; column <= 9; ++column) {
      for (bool descending : {false, true}) {
        auto records = FileRows(fileRows);
        std::vector<const FOUND_F*> expected;
        for (const auto& r : records) expected.push_back(r.get());
        std::stable_sort(expected.begin(), expected.end(), [&](const FOUND_F* a, const FOUND_F* b) {
          int r = CompareFileHits(*a, *b, column);
          return descending ? r > 0 : r < 0;
        });
        SortFileRows(records, column, descending);
        std::vector<const FOUND_F*> sorted;
        for (const auto& r : records) sorted.push_back(r.get());
        ASSERT_EQ(sorted, expected) << "file list, column " << column << (descending ? " descending" : "");
      }
    }

    std::vector<std::shared_ptr<const HitFile>> files;
    for (int i = 0; i < 12; ++i) {
      files.push_back(std::make_shared<const HitFile>(HitFile{RandomText(random), RandomText(random), ""}));
    }
    std::vector<std::unique_ptr<FOUND_M>> hits;
    for (int i = 0; i < 300; ++i) {
      hits.push_back(MakeTextHit(files[random() % files.size()], static_cast<int>(random() % 7) - 1,
                                 RandomText(random), 0));
    }
    for (int column = -1; column <= 5; ++column) {
      for (bool descending : {false, true}) {
        std::vector<std::unique_ptr<FOUND_M>> records;
        for (const auto& h : hits) records.push_back(std::make_unique<FOUND_M>(*h));
        std::vector<const FOUND_M*> expected;
        for (const auto& r : records) expected.push_back(r.get());
        std::stable_sort(expected.begin(), expected.end(), [&](const FOUND_M* a, const FOUND_M* b) {
          int r = CompareTextHits(*a, *b, column);
          return descending ? r > 0 : r < 0;
        });
        SortTextRows(records, column, descending);
        std::vector<const FOUND_M*> sorted;
        for (const auto& r : records) sorted.push_back(r.get());
        ASSERT_EQ(sorted, expected) << "text list, column " << column << (descending ? " descending" : "");
      }
    }
  }
}

TEST(ListSort, HeaderClicks) {
  struct Case {
    const char* name;
    std::vector<int> clicks;
    int column;
    bool descending;
  };
  Case cases[] = {
      {"never clicked", {}, -1, false},
      {"first click ascends", {2}, 2, false},
      {"second click on the same column descends", {2, 2}, 2, true},
      {"third click ascends again", {2, 2, 2}, 2, false},
      {"another column starts ascending", {2, 2, 3}, 3, false},
      {"back to the first column starts ascending", {2, 3, 2}, 2, false},
  };
  for (const Case& c : cases) {
    ListSortState state;
    for (int column : c.clicks) state.Click(column);
    EXPECT_EQ(state.column, c.column) << c.name;
    EXPECT_EQ(state.descending, c.descending) << c.name;
  }
  ListSortState state;
  state.Click(1);
  state.Click(1);
  state.Reset();
  EXPECT_EQ(state.column, -1);
  EXPECT_FALSE(state.descending);
  state.Click(1);
  EXPECT_FALSE(state.descending) << "after a reset the first click ascends";
}

}  // namespace
