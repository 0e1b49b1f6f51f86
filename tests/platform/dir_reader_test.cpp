#include "platform/dir_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>

#include "deep_tree.h"
#include "testkit/temp_tree.h"

namespace {

using namespace platform;  // DirReader, EntryStatus and the kAttr* bits

constexpr uint32_t kFile = kAttrArchive;
constexpr uint32_t kFolder = kAttrDirectory;
const std::string kOddName = "odd\xff\xfe.txt";  // not UTF-8: names are bytes

struct Seen {
  bool isFolder = false;
  bool isLink = false;
  EntryStatus status;
};

class DirReaderTest : public testing::Test {
 protected:
  void SetUp() override {
    tree_.File("file.txt", "hello");
    tree_.File("sub/inner.txt", "x");
    tree_.File(".hidden", "");
    tree_.File("readonly.txt", "ro");
    tree_.File(kOddName, "1234");
    tree_.File("noread/secret.txt", "");
    tree_.SetWritten("file.txt", 1700000000);
    ASSERT_EQ(chmod(tree_.Path("readonly.txt").c_str(), 0444), 0);
    ASSERT_EQ(symlink("file.txt", tree_.Path("link_file").c_str()), 0);
    ASSERT_EQ(symlink("sub", tree_.Path("link_dir").c_str()), 0);
    ASSERT_EQ(symlink("missing", tree_.Path("dangling").c_str()), 0);
    ASSERT_EQ(mkfifo(tree_.Path("fifo").c_str(), 0644), 0);
    ASSERT_EQ(chmod(tree_.Path("noread").c_str(), 0), 0);
  }

  // Every entry of an open reader by name, with its kind and status.
  static std::map<std::string, Seen> ReadAll(DirReader& dir) {
    std::map<std::string, Seen> seen;
    while (dir.Next()) {
      Seen& s = seen[std::string(dir.Name())];
      EXPECT_EQ(s.status.attributes, 0u) << "listed twice: " << dir.Name();
      s.isFolder = dir.IsFolder();
      s.isLink = dir.IsLink();
      s.status = dir.Status();
    }
    return seen;
  }

  // Follows the chain of MakeDeepFolders below `dir` by OpenChild alone; the number of levels entered.
  static int DescendDeepFolders(DirReader& dir) {
    while (dir.Next()) {
      if (!dir.IsFolder() || dir.Name() != std::string(200, 'd')) continue;
      DirReader child;
      if (!child.OpenChild(dir, dir.Name())) return 0;
      return 1 + DescendDeepFolders(child);
    }
    return 0;
  }

  TempTree tree_;
};

TEST_F(DirReaderTest, ListsEveryEntryWithItsKindAndStatus) {
  DirReader dir;
  ASSERT_TRUE(dir.Open(tree_.Root()));
  std::map<std::string, Seen> seen = ReadAll(dir);
  struct Case {
    std::string name;
    bool isFolder, isLink;
    uint32_t attributes;
    uint64_t size;
  } cases[] = {
      {"file.txt", false, false, kFile, 5},
      {"sub", true, false, kFolder, 0},
      {".hidden", false, false, kAttrHidden | kFile, 0},
      {"readonly.txt", false, false, kAttrReadonly | kFile, 2},
      {kOddName, false, false, kFile, 4},
      {"noread", true, false, kAttrReadonly | kFolder, 0},
      {"link_file", false, true, kFile, 5},  // a link is what it points to
      {"link_dir", true, true, kFolder, 0},
      {"dangling", false, true, kAttrSystem, 0},  // a dangling link is the link itself
      {"fifo", false, false, kAttrSystem, 0},
  };
  EXPECT_EQ(seen.size(), std::size(cases));  // "." and ".." are skipped
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(seen.count(c.name));
    const Seen& s = seen[c.name];
    EXPECT_EQ(s.isFolder, c.isFolder);
    EXPECT_EQ(s.isLink, c.isLink);
    EXPECT_EQ(s.status.attributes, c.attributes);
    EXPECT_EQ(s.status.size, c.size);
    EXPECT_GE(s.status.created, 0);
  }
  EXPECT_EQ(seen["file.txt"].status.written, 1700000000);
  EXPECT_EQ(seen["link_file"].status.written, 1700000000);
  EXPECT_FALSE(dir.Next());  // stays at the end
}

TEST_F(DirReaderTest, OpensFoldersButNeverFollowsALinkFromAParent) {
  DirReader root;
  ASSERT_TRUE(root.Open(tree_.Root() + "/"));
  struct Case {
    std::string name;
    bool opens;
  } cases[] = {
      {"sub", true},
      {"link_dir", false},  // a folder reached through a link is never entered
      {"file.txt", false},
      {"fifo", false},  // refused without opening the pipe, so nothing waits for a writer
      {"dangling", false},
      {"missing", false},
      {"sub/", false},
      {"", false},
      {std::string("sub\0x", 5), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DirReader child;
    EXPECT_EQ(child.OpenChild(root, c.name), c.opens);
    EXPECT_EQ(child.Fd() >= 0, c.opens);
  }
  DirReader child;
  ASSERT_TRUE(child.OpenChild(root, "sub"));
  EXPECT_TRUE(child.Next());
  EXPECT_EQ(child.Name(), "inner.txt");
  EXPECT_FALSE(child.Next());
  DirReader closed;
  EXPECT_FALSE(child.OpenChild(closed, "sub"));
  EXPECT_FALSE(child.Next());

  // Opening by path follows a link, because the user named it.
  struct PathCase {
    std::string path;
    bool opens;
  } paths[] = {
      {tree_.Path("link_dir"), true}, {tree_.Path("sub/"), true},     {tree_.Path("file.txt"), false},
      {tree_.Path("fifo"), false},    {tree_.Path("missing"), false}, {"", false},
  };
  for (const PathCase& c : paths) {
    SCOPED_TRACE(c.path);
    DirReader dir;
    EXPECT_EQ(dir.Open(c.path), c.opens);
  }
}

TEST_F(DirReaderTest, FolderWithoutReadPermissionCannotBeListed) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  DirReader dir;
  EXPECT_FALSE(dir.Open(tree_.Path("noread")));
  DirReader root;
  ASSERT_TRUE(root.Open(tree_.Root()));
  EXPECT_FALSE(dir.OpenChild(root, "noread"));
}

TEST_F(DirReaderTest, EntryThatVanishesKeepsOnlyItsName) {
  DirReader dir;
  ASSERT_TRUE(dir.Open(tree_.Root()));
  while (dir.Next() && dir.Name() != ".hidden") {
  }
  ASSERT_EQ(dir.Name(), ".hidden");
  ASSERT_EQ(unlink(tree_.Path(".hidden").c_str()), 0);
  const EntryStatus& status = dir.Status();
  EXPECT_EQ(status.attributes, kAttrHidden);
  EXPECT_EQ(status.size, 0u);
  EXPECT_EQ(status.written, 0);
}

TEST_F(DirReaderTest, StatusOfPaths) {
  struct Case {
    std::string path;
    bool exists, isFolder, isLink;
    uint32_t attributes;
  } cases[] = {
      {tree_.Path("file.txt"), true, false, false, kFile},
      {tree_.Path(".hidden"), true, false, false, kAttrHidden | kFile},
      {tree_.Path("sub"), true, true, false, kFolder},
      {tree_.Path("sub/"), true, true, false, kFolder},
      {tree_.Path("link_dir"), true, true, true, kFolder},
      {tree_.Path("link_file"), true, false, true, kFile},
      {tree_.Path("dangling"), true, false, true, kAttrSystem},
      {tree_.Path("fifo"), true, false, false, kAttrSystem},
      {tree_.Path(kOddName), true, false, false, kFile},
      {tree_.Path("missing"), false, false, false, 0},
      {"/", true, true, false, kFolder},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EntryStatus status;
    bool isFolder = true, isLink = true;
    EXPECT_EQ(platform::StatPath(c.path, status, isFolder, isLink), c.exists);
    EXPECT_EQ(isFolder, c.isFolder);
    EXPECT_EQ(isLink, c.isLink);
    EXPECT_EQ(status.attributes, c.attributes);
    EntryStatus byName;
    EXPECT_EQ(platform::ReadStatus(AT_FDCWD, c.path.c_str(), byName), c.exists);
    EXPECT_EQ(byName.attributes, status.attributes);
  }
  DirReader root;
  ASSERT_TRUE(root.Open(tree_.Root()));
  EntryStatus status;
  ASSERT_TRUE(platform::ReadStatus(root.Fd(), "link_file", status));
  EXPECT_EQ(status.size, 5u);
  EXPECT_FALSE(platform::ReadStatus(root.Fd(), "missing", status));
}

TEST_F(DirReaderTest, DeepPathIsWalkedStepByStep) {
  const int levels = 22;
  std::string deep = MakeDeepFolders(tree_.Root(), levels);
  ASSERT_FALSE(deep.empty());
  ASSERT_GT(deep.size(), 4096u);
  tree_.File("deep.txt", "");  // a sibling, so the walk has a choice at the top
  DirReader root;
  ASSERT_TRUE(root.Open(tree_.Root()));
  EXPECT_EQ(DescendDeepFolders(root), levels);

  // By its full path too, though the kernel takes no path this long at once.
  EntryStatus status;
  bool isFolder = false, isLink = false;
  EXPECT_TRUE(platform::StatPath(deep, status, isFolder, isLink));
  EXPECT_TRUE(isFolder);
  EXPECT_TRUE(platform::ReadStatus(AT_FDCWD, (deep + "/").c_str(), status));
  DirReader byPath;
  EXPECT_TRUE(byPath.Open(deep));
  EXPECT_FALSE(byPath.Next());
  EXPECT_FALSE(platform::StatPath(deep + "/none", status, isFolder, isLink));
}

}  // namespace
