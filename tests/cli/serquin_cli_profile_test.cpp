// serquin-cli with a profile: --profile=FILE sets up the search, --save-profile writes it back, and a
// profile that cannot be read or written stops the run with status 2 and the file untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/profile.h"
#include "testkit/run_program.h"
#include "testkit/temp_tree.h"

namespace {

const std::string kCli = std::string(SERQUIN_BIN_DIR) + "/serquin-cli";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class CliProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.File("a.txt", "hello\n");
    tree.File("sub/b.log", "hello log\n");
    errFile = scratch.Path("stderr.txt");
  }
  CliRun Cli(const std::vector<std::string>& args, const std::string& program = kCli) {
    return RunProgram(program, args, errFile);
  }
  // A profile set up for a text search for "hello" in every file of the tree, subfolders included, with
  // more keys of its condition section and more sections.
  std::string WriteProfile(const std::string& conditions = "", const std::string& sections = "") {
    return scratch.File("p.ini", "[Value Section]\r\nFolder0=" + tree.Root() +
                                     "&\r\nFolder1=/old&\r\nPattern0=hello&\r\nPattern1=old&\r\n"
                                     "[Condition Section]\r\nSubFolder=1\r\n" +
                                     conditions + "[FilterExt Section]\r\nMojiAll=1\r\n" + sections);
  }
  TempTree tree;
  TempTree scratch;  // the profiles and the captured standard error, outside the searched tree
  std::string errFile;
};

TEST_F(CliProfileTest, TheProfileSetsUpTheSearchAndOptionsChangeIt) {
  std::string profile = WriteProfile();
  const std::string before = ReadFile(profile);
  CliRun run = Cli({"--profile=" + profile});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(SortedLines(run.out), (std::vector<std::string>{tree.Path("a.txt") + ":1:hello",
                                                            tree.Path("sub/b.log") + ":1:hello log"}));
  run = Cli({"--profile=" + profile, "-sa", "-mlog"});
  EXPECT_EQ(run.status, 1) << run.err;
  run = Cli({"--profile=" + profile, "-mlog"});
  EXPECT_EQ(run.out, tree.Path("sub/b.log") + ":1:hello log\n");
  // Without --save-profile the file is only read.
  EXPECT_EQ(ReadFile(profile), before);
}

TEST_F(CliProfileTest, ComposeShowsTheConditionsOfTheProfile) {
  std::string profile = WriteProfile("DepthDrawF=1\r\nDepth=3\r\nLetterClassify=1\r\nConvertFlag=1\r\n",
                                     "[Filter Section]\r\nAttrHidden=2\r\n");
  CliRun run = Cli({"--profile=" + profile, "--compose"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "-b\"" + tree.Root() + "\" -mhello -t -ar0h2s0a0 -s3 -r0 -i1 -ce -e* -ja -za\n");
}

TEST_F(CliProfileTest, SaveProfilePutsTheSearchAtTheTopAndKeepsTheRest) {
  std::string profile = WriteProfile("", "[Viewer Section]\r\nFontName=\x82\x6c\x82\x72 Gothic\r\n");
  // 日本 in UTF-8 on the command line; the profile holds code page 932.
  CliRun run =
      Cli({"--profile=" + profile, "--save-profile", "-b" + tree.Path("sub"), "-m\xe6\x97\xa5\xe6\x9c\xac"});
  EXPECT_EQ(run.status, 1) << run.err;
  IniFile ini;
  std::string error;
  ASSERT_EQ(ini.Load(profile, error), IniFile::LoadStatus::kLoaded) << error;
  SearchConditions conditions;
  AppSettings settings;
  HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
  LoadProfile(ini, conditions, settings, locations, patterns, [] { return true; });
  EXPECT_EQ(locations.Texts(), (std::vector<std::string>{tree.Path("sub"), tree.Root(), "/old"}));
  EXPECT_EQ(patterns.Texts(), (std::vector<std::string>{"\x93\xfa\x96\x7b", "hello", "old"}));
  EXPECT_TRUE(conditions.MojiAll);
  EXPECT_EQ(ini.ReadString("Viewer Section", "FontName", ""), "\x82\x6c\x82\x72 Gothic");
  EXPECT_NE(ReadFile(profile).find("Pattern0=\x93\xfa\x96\x7b&\r\n"), std::string::npos);
}

TEST_F(CliProfileTest, AProfileThatCannotBeUsedStopsTheRun) {
  std::string folder = scratch.Folder("a-folder");
  std::string missing = scratch.Path("missing.ini");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {"a missing profile", {"--profile=" + missing, "-b" + tree.Root(), "-mhello"}, "does not exist"},
      {"a folder", {"--profile=" + folder, "-b" + tree.Root(), "-mhello"}, "cannot be read"},
      {"a folder, to be saved",
       {"--profile=" + folder, "--save-profile", "-b" + tree.Root(), "-mhello"},
       "cannot be read"},
      {"no place to write",
       {"--profile=" + scratch.Path("no-folder/p.ini"), "--save-profile", "-b" + tree.Root(), "-mhello"},
       "cannot be written"},
      {"no file name", {"--profile=", "-b" + tree.Root(), "-mhello"}, "needs a file name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");  // no search ran
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(CliProfileTest, SaveProfileCreatesAMissingProfile) {
  std::string profile = scratch.Path("new.ini");
  CliRun run = Cli({"--profile=" + profile, "--save-profile", "-b" + tree.Root(), "-mhello"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(ReadFile(profile).find("[Value Section]\r\nFolder0=" + tree.Root() + "&\r\nPattern0=hello&\r\n"),
            std::string::npos);
}

TEST_F(CliProfileTest, ARunThatDoesNotSearchLeavesTheProfileAlone) {
  std::string profile = WriteProfile();
  const std::string before = ReadFile(profile);
  CliRun run = Cli({"--profile=" + profile, "--save-profile", "-b" + tree.Path("missing"), "-mx"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(ReadFile(profile), before);
}

// The program's own profile lies beside it, so the test runs a copy of the program in a folder of its own.
TEST_F(CliProfileTest, WithoutAFileTheProfileBesideTheProgramIsUsed) {
  TempTree bin;
  std::string program = bin.Path("serquin-cli");
  std::filesystem::copy_file(kCli, program);
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  CliRun run = Cli({"--save-profile", "-t", "-sb", "-e*", "-b" + tree.Root(), "-mlog"}, program);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(ReadFile(bin.Path("Serquin.ini")).find("Pattern0=log&\r\n"), std::string::npos);
  // The next run starts from what the last one saved.
  run = Cli({"--save-profile"}, program);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, tree.Path("sub/b.log") + ":1:hello log\n");
  // Without either option no profile is read.
  EXPECT_EQ(Cli({}, program).status, 2);
}

}  // namespace
