#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/cp932.h"
#include "search/locations.h"
#include "search/search.h"
#include "search/search_request.h"
#include "testkit/collect_notify.h"
#include "testkit/temp_tree.h"

namespace {

using Names = std::vector<std::string>;

// root/ a.txt b.TXT c.log .hidden.txt sub/ d.txt deeper/ e.txt
class WalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.File("a.txt", "hello\n");
    tree.File("b.TXT", std::string(1025, 'x'));
    tree.File("c.log", "");
    tree.File(".hidden.txt", "h");
    tree.File("sub/d.txt", "hello world\n");
    tree.File("sub/deeper/e.txt", std::string(2000, 'y'));
  }

  // Runs a name search for `pattern` on the worker's code path, synchronously.
  CollectNotify& Run(SearchConditions conditions) {
    notify = std::make_unique<CollectNotify>(shared);
    shared.stop.Reset();
    auto request = BuildSearchRequest(conditions, *notify, shared, 0);
    result = SearchThreadProc(std::move(request));
    return *notify;
  }

  SearchConditions NameSearch(std::vector<std::string> locations, int depth, bool files = true,
                              bool folders = false) {
    SearchConditions c;
    c.SearchMoji = false;
    c.SearchFile = files;
    c.SearchFolder = folders;
    c.DepthDrawF = depth != kUnlimitedDepth;
    c.SubFolder = depth == kUnlimitedDepth;
    c.Depth = depth;
    c.Locations = std::move(locations);
    return c;
  }

  static std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  TempTree tree;
  SearchShared shared;
  std::unique_ptr<CollectNotify> notify;
  int result = -1;
};

TEST_F(WalkTest, DepthDecidesWhichLevelsAreSearched) {
  std::string root = tree.Root();
  struct Case {
    const char* name;
    std::vector<std::string> locations;
    int depth;
    Names expect;
  } cases[] = {
      {"folder entries, depth 1", {root + "/"}, 1, {".hidden.txt", "a.txt", "b.TXT", "c.log"}},
      {"named folder, depth 1", {root}, 1, {".hidden.txt", "a.txt", "b.TXT", "c.log"}},
      {"folder entries, depth 2", {root + "/"}, 2, {".hidden.txt", "a.txt", "b.TXT", "c.log", "d.txt"}},
      {"unlimited",
       {root + "/"},
       kUnlimitedDepth,
       {".hidden.txt", "a.txt", "b.TXT", "c.log", "d.txt", "e.txt"}},
      {"folder entries, depth 0", {root + "/"}, 0, {}},
      {"named folder, depth 0", {root}, 0, {}},
      {"named file, depth 0", {root + "/sub/d.txt"}, 0, {"d.txt"}},
      {"missing location", {root + "/nothing"}, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Sorted(Run(NameSearch(c.locations, c.depth)).Names()), c.expect);
    EXPECT_EQ(notify->ends, std::vector<int>{0});
    EXPECT_EQ(result, 0);
  }
}

TEST_F(WalkTest, FolderSearchReportsAFolderAfterItsContentWithItsCounts) {
  CollectNotify& hits = Run(NameSearch({tree.Root() + "/"}, kUnlimitedDepth, true, true));
  Names names = hits.Names();
  auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  EXPECT_LT(at("e.txt"), at("deeper"));
  EXPECT_LT(at("deeper"), at("sub"));
  EXPECT_LT(at("d.txt"), at("sub"));
  const FOUND_F& sub = *hits.nameHits[at("sub")];
  EXPECT_EQ(sub.kind, 4);
  EXPECT_EQ(sub.fileCount, 2);
  EXPECT_EQ(sub.folderCount, 1);
  EXPECT_EQ(sub.size, 12u + 2000u);
  EXPECT_EQ(sub.sizeText, "<2KB>");
  EXPECT_EQ(sub.fileCountText, "2");
  EXPECT_EQ(sub.folderCountText, "1");
  EXPECT_EQ(sub.folder, tree.Root());
  EXPECT_EQ(sub.typeName, platform::Cp932FromUtf8("ファイル フォルダー"));
  EXPECT_EQ(sub.nativePath, tree.Path("sub"));
  const FOUND_F& b = *hits.nameHits[at("b.TXT")];
  EXPECT_EQ(b.kind, 2);
  EXPECT_EQ(b.size, 1025u);
  EXPECT_EQ(b.sizeText, "2KB");
  EXPECT_EQ(b.attributesText, "A");
  EXPECT_EQ(b.typeName, platform::Cp932FromUtf8("TXT ファイル"));
}

TEST_F(WalkTest, FolderBelowTheDepthIsCountedOnlyWithFolderDetail) {
  SearchConditions c = NameSearch({tree.Root() + "/"}, 1, false, true);
  CollectNotify& detailed = Run(c);
  ASSERT_EQ(detailed.Names(), Names{"sub"});
  EXPECT_EQ(detailed.nameHits[0]->fileCount, 2);
  EXPECT_EQ(detailed.nameHits[0]->sizeText, "<2KB>");

  c.FolderDetail = false;
  CollectNotify& plain = Run(c);
  ASSERT_EQ(plain.Names(), Names{"sub"});
  EXPECT_EQ(plain.nameHits[0]->size, 0u);
  EXPECT_EQ(plain.nameHits[0]->sizeText, "");
  EXPECT_EQ(plain.nameHits[0]->fileCountText, "");
  EXPECT_EQ(plain.nameHits[0]->folderCountText, "");

  // Without folder detail a folder at the depth limit counts as size 0 for the size filter.
  c.SizeKind = 1;
  c.SizeMin = 1;
  c.SizeMinUnit = 0;
  EXPECT_TRUE(Run(c).Names().empty());
  c.FolderDetail = true;
  EXPECT_EQ(Run(c).Names(), Names{"sub"});
}

TEST_F(WalkTest, NameMatchIgnoresCaseAndFiltersApply) {
  SearchConditions c = NameSearch({tree.Root() + "/"}, kUnlimitedDepth);
  c.PatternText = "TXT";
  EXPECT_EQ(Sorted(Run(c).Names()), (Names{".hidden.txt", "a.txt", "b.TXT", "d.txt", "e.txt"}));
  c.PatternText = "";
  c.FileAll = false;
  c.FileExtList = {"log"};
  EXPECT_EQ(Run(c).Names(), Names{"c.log"});
  c.FileAll = true;
  c.AttrHidden = 2;
  c.SizeKind = 1;
  c.SizeMin = 1;
  c.SizeMinUnit = 1;
  EXPECT_EQ(Sorted(Run(c).Names()), (Names{"b.TXT", "e.txt"}));
}

TEST_F(WalkTest, NamesCodePage932CannotHoldAreStillWalkedAndOpenable) {
  tree.File("sub/\xED\x95\x9C.txt", "x");  // a Hangul syllable: not in code page 932
  SearchConditions c = NameSearch({tree.Root() + "/sub/"}, 1);
  c.PatternText = ".txt";
  CollectNotify& hits = Run(c);
  Names names = Sorted(hits.Names());
  EXPECT_EQ(names, (Names{"?.txt", "d.txt"}));
  bool found = false;
  for (const auto& hit : hits.nameHits) {
    if (hit->name == "?.txt") {
      found = true;
      EXPECT_EQ(hit->nativePath, tree.Path("sub/\xED\x95\x9C.txt"));
      EXPECT_EQ(access(hit->nativePath.c_str(), R_OK), 0);
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(WalkTest, LinkedFoldersAreNeverEntered) {
  std::filesystem::create_directory_symlink(tree.Root(), tree.Path("sub/loop"));
  CollectNotify& hits = Run(NameSearch({tree.Root() + "/"}, kUnlimitedDepth, true, true));
  Names names = Sorted(hits.Names());
  EXPECT_EQ(std::count(names.begin(), names.end(), "a.txt"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), "loop"), 1);
}

TEST_F(WalkTest, StopEndsTheWorkerWithoutTheEndNotification) {
  shared.stop.Set();
  notify = std::make_unique<CollectNotify>(shared);
  SearchConditions c = NameSearch({tree.Root() + "/"}, kUnlimitedDepth);
  EXPECT_EQ(SearchThreadProc(BuildSearchRequest(c, *notify, shared, 0)), 1);
  EXPECT_TRUE(notify->ends.empty());
  EXPECT_TRUE(notify->nameHits.empty());
}

TEST_F(WalkTest, NothingToSearchStillEnds) {
  SearchConditions c = NameSearch({tree.Root() + "/"}, 1, false, false);
  EXPECT_TRUE(Run(c).Names().empty());
  EXPECT_EQ(notify->ends, std::vector<int>{0});
}

TEST(DropNestedLocations, KeepsOnlyOutermostLocations) {
  struct Case {
    std::vector<std::string> in;
    std::vector<std::string> expect;
  } cases[] = {
      {{"/data", "/data/sub"}, {"/data"}},
      {{"/data/sub", "/data/"}, {"/data/"}},
      {{"/", "/data"}, {"/"}},
      {{"/data", "/data2"}, {"/data", "/data2"}},
      {{"/data", "/data"}, {"/data"}},
      {{"/Data", "/data"}, {"/Data", "/data"}},
      {{"/a/b", "/c", "/a"}, {"/c", "/a"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> locations = c.in;
    CSearch::DropNestedLocations(locations);
    EXPECT_EQ(locations, c.expect);
  }
}

TEST_F(WalkTest, OverlappingLocationsWithLimitedDepthReportSharedEntriesOnce) {
  SearchConditions c = NameSearch({tree.Root() + "/", tree.Root() + "/sub/", tree.Root() + "/a.txt"}, 2);
  EXPECT_EQ(Sorted(Run(c).Names()), (Names{".hidden.txt", "a.txt", "b.TXT", "c.log", "d.txt", "e.txt"}));
}

TEST(Locations, TrashFoldersAreRecognised) {
  EXPECT_TRUE(IsTrashFolder("/.Trash"));
  EXPECT_TRUE(IsTrashFolder("/.Trash-1000"));
  EXPECT_FALSE(IsTrashFolder("/data/.Trash"));
  EXPECT_TRUE(IsInsideTrash("/.Trash/x"));
  EXPECT_FALSE(IsInsideTrash("/.Trash"));
}

TEST_F(WalkTest, TextSearchReportsEachMatchingLine) {
  SearchConditions c;
  c.PatternText = "hello";
  c.SubFolder = true;
  c.Locations = {tree.Root() + "/"};
  CollectNotify& hits = Run(c);
  ASSERT_EQ(hits.textHits.size(), 2u);
  std::vector<std::string> lines;
  for (const auto& hit : hits.textHits)
    lines.push_back(hit->FileName() + ":" + hit->lineNumberText + ":" + hit->lineText);
  EXPECT_EQ(Sorted(lines), (Names{"a.txt:1:hello", "d.txt:1:hello world"}));
  EXPECT_EQ(hits.ends, std::vector<int>{0});
}

// A search string code page 932 cannot hold is compared with names as the file system spells them: in
// their code-page-932 forms "?" stands for every character the code page lacks, so "한국" once found "??".
TEST_F(WalkTest, UnheldSearchStringMatchesNativeNames) {
  tree.File("k/한국.txt");
  tree.File("k/??.txt");
  tree.File("k/한글.txt");
  tree.File("k/HAN한국어/f.txt");
  struct Case {
    const char* name;
    std::string location;
    std::string native;
    Names expect;
  } cases[] = {
      {"files and folders of a walk", tree.Path("k/"), "한국", {"HAN한국어", "한국.txt"}},
      {"without case", tree.Path("k/"), "han한", {"HAN한국어"}},
      {"a named entry", tree.Path("k/한국.txt"), "한국", {"한국.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions = NameSearch({c.location}, kUnlimitedDepth, true, true);
    conditions.PatternText = platform::Cp932FromUtf8(c.native);
    conditions.PatternNative = c.native;
    Run(conditions);
    Names names;
    for (const auto& hit : notify->nameHits) {
      names.push_back(hit->nativePath.substr(hit->nativePath.rfind('/') + 1));
      EXPECT_EQ(hit->name, platform::Cp932FromUtf8(names.back()));
    }
    EXPECT_EQ(Sorted(names), c.expect);
    EXPECT_EQ(notify->ends, std::vector<int>{0});
  }
}

}  // namespace
