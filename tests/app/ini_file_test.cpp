#include "app/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "testkit/temp_tree.h"

namespace {

constexpr char kAbsent[] = "<absent>";
// NULs, lone lead bytes and bytes no text holds, around one readable key.
constexpr char kGarbage[] = "\x00\xff\x01[\x00]\r\n\x81\r\n[S]\r\n\xfc\x00=\x01\r\na=1\x00z\r\n\xff";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(IniFile, ReadsStringsByTheFileRules) {
  const std::string longValue(1 << 20, 'x');
  struct Case {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;  // kAbsent when the key must read as absent
  } cases[] = {
      {"CR LF lines", "[S]\r\na=1\r\nb=2\r\n", "S", "b", "2"},
      {"LF-only lines", "[S]\na=1\nb=2\n", "S", "b", "2"},
      {"CR-only lines", "[S]\ra=1\rb=2", "S", "b", "2"},
      {"mixed line ends and blank lines", "[S]\r\n\n\ra=1\n\r\nb=2", "S", "b", "2"},
      {"a UTF-8 byte-order mark is skipped", "\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "a", "1"},
      {"blanks around the name, the = and the value", "  [ S ]  \r\n \t a \t= \t v w \t\r\n", "S", "a",
       "v w"},
      {"names compare without case", "[value section]\r\nfolder0=x\r\n", "Value Section", "FOLDER0", "x"},
      {"the first of repeated sections is read", "[S]\r\na=1\r\n[T]\r\n[s]\r\na=2\r\nb=3\r\n", "S", "a", "1"},
      {"a key only in a repeated section is absent", "[S]\r\na=1\r\n[S]\r\nb=3\r\n", "S", "b", kAbsent},
      {"the first of repeated keys is read", "[S]\r\na=1\r\nA=2\r\n", "S", "a", "1"},
      {"a line without = is ignored", "[S]\r\njust text\r\na=1\r\n", "S", "just text", kAbsent},
      {"the value keeps a later =", "[S]\r\na = b=c \r\n", "S", "a", "b=c"},
      {"an empty value is present", "[S]\r\na=\r\n", "S", "a", ""},
      {"an empty key is never read", "[S]\r\n=x\r\n", "S", "", kAbsent},
      {"a key before any section belongs to none", "a=1\r\n[S]\r\n", "S", "a", kAbsent},
      {"text after ] is ignored", "[S] trailing\r\na=1\r\n", "S", "a", "1"},
      {"a header without ] runs to the line's end", "[S\r\na=1\r\n", "S", "a", "1"},
      {"a key of another section is absent", "[S]\r\n[T]\r\na=1\r\n", "S", "a", kAbsent},
      {"a missing section is absent", "[S]\r\na=1\r\n", "T", "a", kAbsent},
      {"Shift-JIS values are bytes", "[S]\r\nv=\x93\xfa\x96\x7b\x8c\xea\r\n", "S", "v",
       "\x93\xfa\x96\x7b\x8c\xea"},
      // 0x83 0x41 and 0x83 0x61 are two different katakana; only ASCII letters fold.
      {"double-byte names compare exactly", "[S]\r\n\x83\x41=1\r\n", "S", "\x83\x61", kAbsent},
      {"a ] trail byte stays in the section name", "[\x83\x5d]\r\na=1\r\n", "\x83\x5d", "a", "1"},
      {"a double-byte name matches itself",
       "[S]\r\n\x83\x41"
       "b=1\r\n",
       "S",
       "\x83\x41"
       "B",
       "1"},
      {"a very long line", "[S]\r\nlong=" + longValue + "\r\nb=2\r\n", "S", "long", longValue},
      {"binary garbage around a readable key", std::string(kGarbage, sizeof kGarbage - 1), "S", "a", "1"},
      // Regression: a NUL in a value cut everything after it in composed command lines.
      {"a NUL ends the value", std::string("[S]\r\na=x \x00y\r\nb=2\r\n", 18), "S", "a", "x"},
      {"the lines after a NUL are read", std::string("[S]\r\na=x\x00y\r\nb=2\r\n", 17), "S", "b", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IniFile ini(c.file);
    EXPECT_EQ(ini.ReadString(c.section, c.key, kAbsent), c.expected);
  }
}

TEST(IniFile, ReadIntParsesLikeThePlatform) {
  struct Case {
    const char* value;  // nullptr: the key is absent
    int expected;
  } cases[] = {
      {nullptr, 77},
      {"", 77},
      {"12", 12},
      {"-3", -3},
      {"+7", 7},
      {"12abc", 12},
      {"abc", 0},
      {"-", 0},
      {"0x10", 0},
      {"4294967295", -1},
      {"2147483648", INT_MIN},
      {"-2147483648", INT_MIN},
      {"99999999999", 1215752191},
      {"-4294967297", -1},
      {"007", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "absent");
    IniFile ini(c.value ? std::string("[S]\r\nk=") + c.value + "\r\n" : std::string("[S]\r\n"));
    EXPECT_EQ(ini.ReadInt("S", "k", 77), c.expected);
  }
}

TEST(IniFile, WritesChangeOnlyTheirLines) {
  IniFile ini(
      "; a comment\r\n"
      "[Viewer Section]\n"
      "Font = MS Gothic\n"
      "[S]\n"
      "a=1\n"
      "\n"
      "[T]\n"
      "x=1\n"
      "[S]\n"
      "a=9\n");
  EXPECT_TRUE(ini.WriteString("s", "A", "2"));     // replaces the key of the first [S]
  EXPECT_TRUE(ini.WriteString("S", "b", " sp "));  // a new key after the last non-blank line
  EXPECT_TRUE(ini.WriteString("New", "k", "v"));   // a new section at the end
  EXPECT_EQ(ini.Text(),
            "; a comment\r\n"
            "[Viewer Section]\r\n"
            "Font = MS Gothic\r\n"
            "[S]\r\n"
            "A=2\r\n"
            "b= sp \r\n"
            "\r\n"
            "[T]\r\n"
            "x=1\r\n"
            "[S]\r\n"
            "a=9\r\n"
            "\r\n"
            "[New]\r\n"
            "k=v\r\n");
  EXPECT_EQ(ini.ReadString("S", "b", kAbsent), "sp");

  IniFile empty;
  EXPECT_TRUE(empty.WriteString("S", "k", "v"));
  EXPECT_EQ(empty.Text(), "[S]\r\nk=v\r\n");
  EXPECT_TRUE(empty.WriteString("\x83\x5d", "k", "v"));
  EXPECT_EQ(IniFile(empty.Text()).ReadString("\x83\x5d", "k", kAbsent), "v");
}

TEST(IniFile, RefusesWhatCannotReadBack) {
  struct Case {
    const char* name;
    std::string section, key, value;
  } cases[] = {
      {"a line break in the value", "S", "k", "a\nb"},
      {"a CR in the value", "S", "k", "a\rb"},
      {"an empty key", "S", "", "v"},
      {"= in the key", "S", "a=b", "v"},
      {"a key beginning with [", "S", "[k", "v"},
      {"a key with a trailing blank", "S", "k ", "v"},
      {"] in the section", "S]", "k", "v"},
      {"a section with a leading blank", " S", "k", "v"},
      {"a line break in the section", "S\n", "k", "v"},
      {"a section ending in a lead byte, which would swallow the ]", "S\x83", "k", "v"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IniFile ini("[S]\r\nk=old\r\n");
    EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value));
    EXPECT_EQ(ini.Text(), "[S]\r\nk=old\r\n");
  }
}

TEST(IniFile, DeleteSectionRemovesEveryCopy) {
  IniFile ini("[V]\r\nFolder0=a\r\n[Keep]\r\nk=1\r\n[v]\r\nFolder5=stale\r\n");
  ini.DeleteSection("V");
  EXPECT_EQ(ini.Text(), "[Keep]\r\nk=1\r\n");
  ini.WriteString("V", "Folder0", "b");
  EXPECT_EQ(ini.ReadString("V", "Folder5", kAbsent), kAbsent);
  ini.DeleteSection("missing");
  EXPECT_EQ(ini.ReadString("Keep", "k", kAbsent), "1");
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  TempTree tree;
  std::string error;
};

TEST_F(IniFileOnDisk, LoadTellsMissingFromUnreadable) {
  IniFile ini("[S]\r\nk=v\r\n");
  EXPECT_EQ(ini.Load(tree.Path("none.ini"), error), IniFile::LoadStatus::kMissing);
  EXPECT_EQ(ini.Text(), "");
  EXPECT_EQ(ini.Load(tree.Folder("folder.ini"), error), IniFile::LoadStatus::kFailed);
  EXPECT_NE(error.find("folder.ini"), std::string::npos) << error;
  std::string pipe = tree.Path("pipe.ini");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(ini.Load(pipe, error), IniFile::LoadStatus::kFailed);  // refused, not waited on
  tree.File("p.ini", "\xEF\xBB\xBF[S]\nk=v");
  ASSERT_EQ(ini.Load(tree.Path("p.ini"), error), IniFile::LoadStatus::kLoaded);
  EXPECT_EQ(ini.ReadString("S", "k", kAbsent), "v");
}

TEST_F(IniFileOnDisk, SaveReplacesTheFileWholeAndKeepsItsMode) {
  std::string path = tree.File("p.ini", "[Other]\nx=1\n");
  chmod(path.c_str(), 0640);
  IniFile ini;
  ASSERT_EQ(ini.Load(path, error), IniFile::LoadStatus::kLoaded);
  ini.WriteString("S", "k", "\x93\xfa\x96\x7b");
  ASSERT_TRUE(ini.Save(path, error)) << error;
  EXPECT_EQ(ReadFile(path), "[Other]\r\nx=1\r\n\r\n[S]\r\nk=\x93\xfa\x96\x7b\r\n");
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  // Only the profile is left in the folder: no temporary file stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 1);
}

TEST_F(IniFileOnDisk, SaveThroughALinkWritesTheFileItPointsTo) {
  std::string target = tree.File("real/p.ini", "[S]\r\nk=1\r\n");
  std::string link = tree.Path("link.ini");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  IniFile ini;
  ASSERT_EQ(ini.Load(link, error), IniFile::LoadStatus::kLoaded);
  ini.WriteString("S", "k", "2");
  ASSERT_TRUE(ini.Save(link, error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "[S]\r\nk=2\r\n");
}

TEST_F(IniFileOnDisk, AFailedSaveReportsAndLeavesTheOldFile) {
  IniFile ini("[S]\r\nk=" + std::string(4096, 'v') + "\r\n");
  EXPECT_FALSE(ini.Save(tree.Path("no-such-folder/p.ini"), error));
  EXPECT_NE(error.find("no-such-folder/p.ini"), std::string::npos) << error;
  // Only a file is ever replaced: a folder or a device in its place stays.
  std::string folder = tree.Folder("folder.ini");
  EXPECT_FALSE(ini.Save(folder, error));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  std::filesystem::remove(folder);

  // A file-size limit makes the write fail part way, as a full disk would (this works for root too).
  const std::string old = "[S]\r\nk=old\r\n";
  std::string path = tree.File("p.ini", old);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  sighandler_t previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  error.clear();
  bool saved_ok = ini.Save(path, error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved_ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 1);
}

TEST(IniFileTest, ReadSectionGivesTheFirstSectionsKeysInOrder) {
  const IniFile ini("[a]\nx=1\n[B]\n k = v \nno equals\n=empty key\nk=second\n[b]\nlater=1\n");
  using Keys = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(ini.ReadSection("b"), (Keys{{"k", "v"}, {"k", "second"}}));
  EXPECT_EQ(ini.ReadSection("none"), Keys{});
}

}  // namespace
