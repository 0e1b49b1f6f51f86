#include "results/result_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "search/found.h"
#include "testkit/temp_tree.h"

namespace {

// Code page 932 bytes of the texts below, written out by hand so that no converter of the program takes
// part in the expectation.
const std::string kFile = "\x83\x74\x83\x40\x83\x43\x83\x8b";     // ファイル
const std::string kFolder = "\x83\x74\x83\x48\x83\x8b\x83\x5f";   // フォルダ
const std::string kLine = "\x8d\x73";                             // 行
const std::string kContent = "\x93\xe0\x97\x65";                  // 内容
const std::string kSize = "\x83\x54\x83\x43\x83\x59";             // サイズ
const std::string kDate = "\x8d\x58\x90\x56\x93\xfa\x8e\x9e";     // 更新日時
const std::string kType = "\x8e\xed\x97\xde";                     // 種類
const std::string kAttributes = "\x91\xae\x90\xab";               // 属性
const std::string kFolderCount = "\xcc\xab\xd9\xc0\xde\x90\x94";  // ﾌｫﾙﾀﾞ数
const std::string kFileCount = "\xcc\xa7\xb2\xd9\x90\x94";        // ﾌｧｲﾙ数
const std::string kNihongo = "\x93\xfa\x96\x7b\x8c\xea";          // 日本語
const std::string kHyouji = "\x95\x5c\x8e\xa6";                   // 表示: its first trail byte is "\"
const std::string kTextDoc = "\x83\x65\x83\x4c\x83\x58\x83\x67\x95\xb6\x8f\x91";  // テキスト文書

std::unique_ptr<FOUND_M> TextHit(const std::string& folder, const std::string& name, int line,
                                 const std::string& text, const std::string& displayPath) {
  auto hit = MakeTextHit(MakeHitFile(folder + "/" + name, folder + "/" + name), line, text, 0);
  hit->displayPath = displayPath;
  return hit;
}

std::vector<std::unique_ptr<FOUND_M>> TextRows() {
  std::vector<std::unique_ptr<FOUND_M>> rows;
  rows.push_back(TextHit("/work/src", "main.c", 12, "printf(\"%d, " + kNihongo + "\\n\", x);", "./src"));
  rows.push_back(TextHit("/work/" + kHyouji, "a.txt", 3, "", "./" + kHyouji));
  return rows;
}

std::unique_ptr<FOUND_F> NameHit(int kind, const std::string& name, const std::string& size,
                                 const std::string& date, const std::string& type,
                                 const std::string& attributes, const std::string& folders = "",
                                 const std::string& files = "") {
  auto hit = std::make_unique<FOUND_F>();
  hit->kind = kind;
  hit->name = name;
  hit->folder = "/work";
  hit->displayPath = ".";
  hit->sizeText = size;
  hit->dateText = date;
  hit->typeName = type;
  hit->attributesText = attributes;
  hit->folderCountText = folders;
  hit->fileCountText = files;
  return hit;
}

std::vector<std::unique_ptr<FOUND_F>> FileRows() {
  std::vector<std::unique_ptr<FOUND_F>> rows;
  rows.push_back(NameHit(2, "readme.txt", "1KB", "2026/12/10 09:00", kTextDoc, "A"));
  rows.push_back(NameHit(4, "docs", "", "2026/12/09 18:30", "", "", "3", "17"));
  rows.push_back(NameHit(4, "empty", "<0KB>", "", "", "H", "0", "0"));
  return rows;
}

template <typename Hit>
std::string Csv(const std::vector<std::unique_ptr<Hit>>& rows, const std::vector<int>& order,
                bool showDisplayPath) {
  std::string bytes;
  EXPECT_TRUE(WriteCsv(rows, order, showDisplayPath, [&](std::string_view row) {
    bytes.append(row);
    return true;
  }));
  return bytes;
}

// The rows, each ended by CR LF.
std::string Lines(std::initializer_list<std::string> rows) {
  std::string bytes;
  for (const std::string& row : rows) bytes += row + "\r\n";
  return bytes;
}

TEST(WriteCsv, TextListByteForByte) {
  const auto rows = TextRows();
  // Relative folders, default order; the quote inside the line is doubled, an empty line is "".
  EXPECT_EQ(Csv(rows, {0, 1, 2, 3}, true),
            Lines({
                "\"" + kFile + "\",\"" + kFolder + "\",\"" + kLine + "\",\"" + kContent + "\"",
                "\"main.c\",\"./src\",12,\"printf(\"\"%d, " + kNihongo + "\\n\"\", x);\"",
                "\"a.txt\",\"./" + kHyouji + "\",3,\"\"",
            }));
  // Full folders, the columns as the user dragged them.
  EXPECT_EQ(Csv(rows, {3, 2, 0, 1}, false),
            Lines({
                "\"" + kContent + "\",\"" + kLine + "\",\"" + kFile + "\",\"" + kFolder + "\"",
                "\"printf(\"\"%d, " + kNihongo + "\\n\"\", x);\",12,\"main.c\",\"/work/src\"",
                "\"\",3,\"a.txt\",\"/work/" + kHyouji + "\"",
            }));
}

TEST(WriteCsv, FileListByteForByte) {
  const auto rows = FileRows();
  // "サイズ" dragged to the front; empty size, type and attribute texts give empty cells, an empty date "".
  EXPECT_EQ(Csv(rows, {2, 0, 1, 3, 4, 5}, false),
            Lines({
                "\"" + kSize + "\",\"" + kFile + "\",\"" + kFolder + "\",\"" + kDate + "\",\"" + kType +
                    "\",\"" + kAttributes + "\"",
                "\"1KB\",\"readme.txt\",\"/work\",\"2026/12/10 09:00\",\"" + kTextDoc + "\",\"A\"",
                ",\"docs\",\"/work\",\"2026/12/09 18:30\",,",
                "\"<0KB>\",\"empty\",\"/work\",\"\",,\"H\"",
            }));
  // With folder detail the two counts are plain numbers; no trailing separator.
  EXPECT_EQ(Csv(rows, {0, 1, 6, 7}, true),
            Lines({
                "\"" + kFile + "\",\"" + kFolder + "\",\"" + kFolderCount + "\",\"" + kFileCount + "\"",
                "\"readme.txt\",\".\",,",
                "\"docs\",\".\",3,17",
                "\"empty\",\".\",0,0",
            }));
}

TEST(WriteCsv, StopsAtTheFirstFailure) {
  const auto rows = FileRows();
  int writes = 0;
  // A display position naming a column the list does not have: nothing is written.
  EXPECT_FALSE(WriteCsv(rows, {0, 8}, false, [&](std::string_view) { return ++writes, true; }));
  EXPECT_FALSE(WriteCsv(TextRows(), {0, 4}, false, [&](std::string_view) { return ++writes, true; }));
  EXPECT_EQ(writes, 0);
  // A failed write ends the output.
  EXPECT_FALSE(WriteCsv(rows, {0}, false, [&](std::string_view) { return ++writes < 2; }));
  EXPECT_EQ(writes, 2);
}

class SaveResultFileTest : public ::testing::Test {
 protected:
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int EntriesIn(const std::string& folder) const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder), {}));
  }
  static bool WriteNew(const CsvOut& out) { return out("new\r\n"); }

  TempTree tree_;
};

TEST_F(SaveResultFileTest, WritesANewFileAndReplacesAnEarlierOne) {
  int error = -1;
  const std::string path = tree_.Path("results.txt");
  ASSERT_TRUE(SaveResultFile(path, WriteNew, error));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(Read(path), "new\r\n");

  chmod(path.c_str(), 0640);
  // More than any buffer holds, in rows of every size.
  std::string expected;
  ASSERT_TRUE(SaveResultFile(
      path,
      [&](const CsvOut& out) {
        for (int i = 0; i < 3000; ++i) {
          std::string row(static_cast<size_t>(i % 97), static_cast<char>('a' + i % 26));
          row += "\r\n";
          expected += row;
          if (!out(row)) return false;
        }
        std::string big(200000, 'z');
        expected += big;
        return out(big);
      },
      error));
  EXPECT_EQ(Read(path), expected);
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(EntriesIn(tree_.Root()), 1);  // no temporary file stays behind
}

TEST_F(SaveResultFileTest, AFailureLeavesTheEarlierFile) {
  const std::string old = "old\r\n";
  struct Case {
    const char* name;
    std::string path;
    std::function<bool(const CsvOut&)> write;
    int error;
  };
  const std::string readOnly = tree_.File("read-only.txt", old);
  chmod(readOnly.c_str(), 0444);
  const std::string rowsFail = tree_.File("rows-fail.txt", old);
  const Case cases[] = {
      {"a read-only file", readOnly, WriteNew, EACCES},
      {"a missing folder", tree_.Path("no-such-folder/results.txt"), WriteNew, ENOENT},
      {"a folder in its place", tree_.Folder("folder.txt"), WriteNew, EISDIR},
      {"the rows fail (a column order the list lacks)", rowsFail, [](const CsvOut&) { return false; },
       EINVAL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int error = 0;
    EXPECT_FALSE(SaveResultFile(c.path, c.write, error));
    EXPECT_EQ(error, c.error);
  }
  EXPECT_EQ(Read(readOnly), old);
  EXPECT_EQ(Read(rowsFail), old);
  EXPECT_TRUE(std::filesystem::is_directory(tree_.Path("folder.txt")));
  EXPECT_EQ(EntriesIn(tree_.Root()), 3);
}

TEST_F(SaveResultFileTest, AWriteThatFailsPartWayLeavesTheEarlierFile) {
  const std::string old = "old\r\n";
  const std::string path = tree_.File("results.txt", old);
  // A file-size limit makes the write fail part way, as a full disk would (this works for root too).
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  sighandler_t previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int error = 0;
  const bool ok = SaveResultFile(
      path,
      [](const CsvOut& out) {
        const std::string row(1000, 'x');
        for (int i = 0; i < 1000; ++i) {
          if (!out(row)) return false;
        }
        return true;
      },
      error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(Read(path), old);
  EXPECT_EQ(EntriesIn(tree_.Root()), 1);
}

}  // namespace
