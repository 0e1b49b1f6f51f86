// serquin-cli end to end with regular expressions (-r1): name and text hits, a rejected expression, and a
// program that finds no regular-expression library beside it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "testkit/run_program.h"
#include "testkit/temp_tree.h"

namespace {

// Runs `program` without a library path from the environment, so that the library is looked for only
// beside the program.
CliRun RunAlone(const std::string& program, const std::vector<std::string>& args,
                const std::string& errFile) {
  return RunProgram(program, args, errFile, "-u LD_LIBRARY_PATH");
}

std::vector<std::string> Lines(const std::string& text) {
  return SortedLines(text);
}

class CliRegexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.File("a1.txt",
              "first line\n\xe6\x97\xa5\xe6\x9c\xac\xe3\x81\xae\xe9\xa6\x96\xe9\x83\xbd\xe3\x81\xaf"
              "\xe6\x9d\xb1\xe4\xba\xac\n");  // 日本の首都は東京
    tree.File("a22.txt", "x\ty\n");
    tree.File("b1.txt", "nothing\n");
    errFile = scratch.Path("stderr.txt");
  }
  CliRun Cli(std::vector<std::string> args) {
    return RunAlone(std::string(SERQUIN_BIN_DIR) + "/serquin-cli", args, errFile);
  }

  TempTree tree;
  TempTree scratch;  // holds the captured standard error and the lone copy of the program
  std::string errFile;
};

TEST_F(CliRegexTest, NameAndTextHits) {
  const std::string root = tree.Root();
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> expect;
  } cases[] = {
      {"file names", {"-f", "-sb", "-r1", "-b" + root + "/", "-m^A\\d\\.txt$"}, {tree.Path("a1.txt")}},
      {"text lines",
       {"-t", "-sb", "-r1", "-e*", "-b" + root, "-m\xe6\x97\xa5\xe6\x9c\xac.*\xe6\x9d\xb1"},
       {tree.Path("a1.txt") + ":2:\xe6\x97\xa5\xe6\x9c\xac\xe3\x81\xae\xe9\xa6\x96\xe9\x83\xbd\xe3\x81\xaf"
                              "\xe6\x9d\xb1\xe4\xba\xac"}},
      {"a tab matched as a tab, printed as a space",
       {"-t", "-sb", "-r1", "-e*", "-b" + root, "-mx\\ty"},
       {tree.Path("a22.txt") + ":1:x y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out), c.expect);
  }
}

TEST_F(CliRegexTest, RejectedExpressionPrintsTheLibrarysMessage) {
  for (const char* kind : {"-t", "-f"}) {
    SCOPED_TRACE(kind);
    CliRun run = Cli({kind, "-sb", "-r1", "-e*", "-b" + tree.Root(), "-m(abc"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "serquin-cli: end pattern with unmatched parenthesis\n");
  }
}

TEST_F(CliRegexTest, WithoutTheLibraryBesideItTheSearchFails) {
  // A copy of the program in a folder of its own has no library beside it.
  const std::string lone = scratch.Path("serquin-cli");
  std::filesystem::copy_file(std::string(SERQUIN_BIN_DIR) + "/serquin-cli", lone);
  CliRun run = RunAlone(lone, {"-t", "-sb", "-r1", "-e*", "-b" + tree.Root(), "-mfirst"}, errFile);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  // "正規表現ライブラリ libbregexp.so を読み込めません"
  EXPECT_EQ(
      run.err,
      "serquin-cli: \xe6\xad\xa3\xe8\xa6\x8f\xe8\xa1\xa8\xe7\x8f\xbe\xe3\x83\xa9\xe3\x82\xa4\xe3\x83\x96"
      "\xe3\x83\xa9\xe3\x83\xaa libbregexp.so \xe3\x82\x92\xe8\xaa\xad\xe3\x81\xbf\xe8\xbe\xbc\xe3\x82\x81"
      "\xe3\x81\xbe\xe3\x81\x9b\xe3\x82\x93\n");
  // The same search without -r1 needs no library.
  run = RunAlone(lone, {"-t", "-sb", "-e*", "-b" + tree.Root(), "-mfirst"}, errFile);
  EXPECT_EQ(run.status, 0) << run.err;
}

}  // namespace
