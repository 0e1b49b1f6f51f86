#include "platform/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "deep_tree.h"
#include "testkit/temp_tree.h"

namespace {

using platform::ExpandLongPath;

TEST(Paths, JoinPath) {
  struct Case {
    const char* folder;
    const char* name;
    const char* joined;
  } cases[] = {
      {"/a/b", "c.txt", "/a/b/c.txt"},
      {"/a/b/", "c.txt", "/a/b/c.txt"},
      {"/", "etc", "/etc"},
      {"", "name", "name"},
      {"rel", "x", "rel/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(platform::JoinPath(c.folder, c.name), c.joined);
  }
}

TEST(Paths, RelativePath) {
  struct Case {
    const char* from;
    const char* to;
    const char* relative;
  } cases[] = {
      {"/data", "/data", "."},
      {"/data/", "/data", "."},
      {"/data", "/data/a/b", "./a/b"},
      {"/data/", "/data/a/b/", "./a/b"},
      {"/data/x", "/data/y", "../y"},
      {"/data/x/y", "/data/z", "../../z"},
      {"/data/x/y", "/data", "../.."},
      {"/data", "/database", "../database"},  // a common prefix of bytes is not a common folder
      {"/", "/", "."},
      {"/", "/usr/lib", "./usr/lib"},
      {"/usr/lib", "/", "../.."},
      {"/a//b", "/a/b/c", "./c"},
      {"/\x93\xfa\x96\x7b", "/\x93\xfa\x96\x7b/\x8c\xea", "./\x8c\xea"},  // code-page-932 texts
      {"data", "/data", ""},
      {"/data", "data", ""},
      {"", "/", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
    EXPECT_EQ(platform::RelativePath(c.from, c.to), c.relative);
  }
}

TEST(Paths, LastComponentAndParentFolder) {
  struct Case {
    const char* path;
    const char* last;
    const char* parent;
  } cases[] = {
      {"/a/b/c.txt", "c.txt", "/a/b"},
      {"/etc", "etc", "/"},
      {"/", "", "/"},
      {"/a//b", "b", "/a"},
      {"/a/b/", "", "/a/b"},
      {"name", "name", ""},
      {"rel/name", "name", "rel"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(platform::LastComponent(c.path), c.last);
    EXPECT_EQ(platform::ParentFolder(c.path), c.parent);
  }
}

class ExpandLongPathTest : public testing::Test {
 protected:
  void SetUp() override {
    tree_.File("a/b/file.txt", "x");
    tree_.Folder("a/c");
    ASSERT_EQ(symlink("b", tree_.Path("a/link").c_str()), 0);
    ASSERT_EQ(symlink("missing", tree_.Path("a/dangling").c_str()), 0);
    saved_ = std::filesystem::current_path();
    std::filesystem::current_path(tree_.Path("a/b"));
    cwd_ = std::filesystem::current_path().string();  // the physical form, as the working folder reports it
  }
  void TearDown() override { std::filesystem::current_path(saved_); }

  TempTree tree_;
  std::filesystem::path saved_;
  std::string cwd_;
};

TEST_F(ExpandLongPathTest, NormalisesAndChecksExistence) {
  const std::string root = tree_.Root();
  const std::string parent = std::filesystem::path(cwd_).parent_path().string();
  struct Case {
    std::string path;
    std::optional<std::string> expanded;
  } cases[] = {
      {root + "/a/b/file.txt", root + "/a/b/file.txt"},
      {root + "//a/./b/../b/file.txt", root + "/a/b/file.txt"},
      {root + "/a/", root + "/a/"},
      {root + "/a//", root + "/a/"},
      {root + "/a/.", root + "/a"},
      {root + "/a/link", root + "/a/link"},    // a link is kept, not resolved
      {root + "/a/link/../c", root + "/a/c"},  // ".." taken lexically
      {"/", "/"},
      {"//", "/"},
      {"/..", "/"},
      {"/../..", "/"},
      {"file.txt", cwd_ + "/file.txt"},
      {"./file.txt", cwd_ + "/file.txt"},
      {".", cwd_},
      {"./", cwd_ + "/"},
      {"..", parent},
      {"../c/", parent + "/c/"},
      {root + "/a/missing", std::nullopt},
      {root + "/a/dangling", std::nullopt},     // existence follows the link
      {root + "/a/b/file.txt/", std::nullopt},  // "/" after a file names no folder
      {"", std::nullopt},
      {std::string("/tmp\0x", 6), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExpandLongPath(c.path), c.expanded);
  }
}

TEST_F(ExpandLongPathTest, PathLongerThanTheKernelTakesAtOnce) {
  std::string deep = MakeDeepFolders(tree_.Root(), 22);
  ASSERT_FALSE(deep.empty());
  ASSERT_GT(deep.size(), 4096u);
  EXPECT_EQ(ExpandLongPath(deep), deep);
  EXPECT_EQ(ExpandLongPath(deep + "/./"), deep + "/");
  EXPECT_EQ(ExpandLongPath(deep + "/../" + std::string(200, 'd')), deep);
  EXPECT_EQ(ExpandLongPath(deep + "/nothing"), std::nullopt);
}

}  // namespace
