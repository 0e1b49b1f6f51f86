// serquin-cli end to end on a small fixture tree: output formats, encodings, exit statuses and messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "testkit/run_program.h"
#include "testkit/temp_tree.h"

namespace {

CliRun Cli(const std::vector<std::string>& args, const std::string& errFile) {
  return RunProgram(std::string(SERQUIN_BIN_DIR) + "/serquin-cli", args, errFile);
}

std::vector<std::string> Lines(const std::string& text) {
  return SortedLines(text);
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.File("a.txt", "hello\n\tsecond hello\n");
    tree.File("sub/b.txt", "no match here\r\nhello again\r\n");
    tree.File("sub/c.log", "hello log\n");
    tree.File("jp/\xe6\x97\xa5\xe6\x9c\xac.txt",
              "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\n");  // 日本.txt: 日本語
    errFile = scratch.Path("stderr.txt");
  }
  CliRun Cli(std::vector<std::string> args) { return ::Cli(args, errFile); }
  TempTree tree;
  TempTree scratch;  // holds the captured standard error, outside the searched tree
  std::string errFile;
};

TEST_F(CliTest, FileSearchPrintsNativePaths) {
  CliRun run = Cli({"-f", "-sb", "-b" + tree.Root() + "/", "-m.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{tree.Path("a.txt"), tree.Path("jp/\xe6\x97\xa5\xe6\x9c\xac.txt"),
                                      tree.Path("sub/b.txt")}));
  run = Cli({"-f", "-sb", "-b" + tree.Root() + "/", "-mnothing-like-this"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
}

TEST_F(CliTest, TextSearchPrintsPathLineAndText) {
  CliRun run = Cli({"-t", "-sb", "-e*", "-b" + tree.Root(), "-mhello"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                tree.Path("a.txt") + ":1:hello",
                                tree.Path("a.txt") + ":2: second hello",
                                tree.Path("sub/b.txt") + ":2:hello again",
                                tree.Path("sub/c.log") + ":1:hello log",
                            }));
}

// A UTF-8 file's line is printed as it stands when the output is UTF-8; in Shift-JIS a character the code
// page lacks becomes "?".
TEST_F(CliTest, Utf8LinesKeepCharactersShiftJisLacks) {
  tree.File("ko/k.txt", "\xe6\x97\xa5\xe6\x9c\xac \xed\x95\x9c\tx\n");  // 日本 한<tab>x
  CliRun run = Cli({"-t", "-sb", "-b" + tree.Root() + "/ko/", "-m\xe6\x97\xa5"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, tree.Path("ko/k.txt") + ":1:\xe6\x97\xa5\xe6\x9c\xac \xed\x95\x9c x\n");
  run = Cli({"--encoding=sjis", "-t", "-sb", "-b" + tree.Root() + "/ko/", "-m\xe6\x97\xa5"});
  EXPECT_NE(run.out.find(":1:\x93\xfa\x96\x7b ? x\n"), std::string::npos) << run.out;
}

// A search string code page 932 cannot hold once searched for "?" and a wave dash in its JIS form never
// found itself in UTF-8 files; a regular expression code page 932 cannot hold failed with a message about
// "??" and now says why it cannot run.
TEST_F(CliTest, UnheldSearchStringsAndWaveDashes) {
  tree.File("w/u.txt", "〜 wave\n～ full\n한국 k\n? q\n");
  tree.File("w/s.txt", "? sjis\r\n");
  const std::string at = "-b" + tree.Root() + "/w/";
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> out;
  } cases[] = {
      {"Korean", {"-t", "-sb", at, "-m한국"}, 0, {":3:한국 k"}},
      {"wave dash", {"-t", "-sb", at, "-m〜"}, 0, {":1:〜 wave", ":2:～ full"}},
      {"full-width tilde", {"-t", "-sb", at, "-m～"}, 0, {":1:〜 wave", ":2:～ full"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    std::vector<std::string> lines;
    for (const std::string& line : Lines(run.out)) lines.push_back(line.substr(line.find(':')));
    EXPECT_EQ(lines, c.out);
  }
  CliRun run = Cli({"-t", "-sb", "-r1", at, "-m한국"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("正規表現では Shift_JIS で表せない文字を検索できません"), std::string::npos)
      << run.err;
}

TEST_F(CliTest, CsvWritesTheResultFileInEitherEncoding) {
  CliRun run = Cli({"--format=csv", "-t", "-sb", "-b" + tree.Root() + "/jp/", "-m\xe6\x9c\xac"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "\"ファイル\",\"フォルダ\",\"行\",\"内容\"\r\n"
            "\"\xe6\x97\xa5\xe6\x9c\xac.txt\",\".\",1,\"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\"\r\n");
  run = Cli({"--format=csv", "--encoding=sjis", "-t", "-sb", "-b" + tree.Root() + "/jp/", "-m\xe6\x9c\xac"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"\x93\xfa\x96\x7b.txt\",\".\",1,\"\x93\xfa\x96\x7b\x8c\xea\"\r\n"),
            std::string::npos)
      << run.out;
}

TEST_F(CliTest, InvalidInputGivesTheMessageAndStatus2) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"-t", "-mx"}, "「場所」が空なので検索しません。"},
      {{"-t", "-mx", "-b" + tree.Path("missing")}, "「場所」が特定できないので検索しません。"},
      {{"-t", "-b" + tree.Root() + ";" + tree.Path("missing")}, "「場所」が特定できないので検索しません。"},
      {{"-t", "-b" + tree.Root()}, "「文字列」が空なので「テキスト検索」はしません。"},
      {{"--no-such-option"}, "unknown option"},
  };
  for (const Case& c : cases) {
    CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

TEST_F(CliTest, ComposePrintsTheCommandLineWithoutSearching) {
  CliRun run = Cli({"--compose", "-t", "-b/tmp/a-b", "-mfoo bar", "-i1", "-sa", "-etxt;htm"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "-b\"/tmp/a-b\" -m\"foo bar\" -t -ar0h0s0a0 -sa -r0 -i1 -cw -etxt;htm -ja -za\n");
}

TEST_F(CliTest, HelpAndVersion) {
  CliRun run = Cli({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Usage: serquin-cli"), std::string::npos);
  EXPECT_NE(run.out.find("使い方"), std::string::npos);
  EXPECT_EQ(Cli({"--version"}).status, 0);
}

// Runs a shell command line with serquin-cli as $CLI; its exit status (of the last pipeline, with pipefail)
// and standard error.
CliRun Shell(const std::string& line, const std::string& errFile) {
  std::string cli = std::string(SERQUIN_BIN_DIR) + "/serquin-cli";
  return RunProgram("/bin/bash", {"-c", "set -o pipefail; CLI='" + cli + "'; " + line}, errFile);
}

// Regression: a failed write of the hits was ignored and the run ended with 0, nothing written.
TEST_F(CliTest, LostOutputStopsTheSearchWithStatus2) {
  const std::string args = " -t -sb -e'*' -b'" + tree.Root() + "' -mhello";
  CliRun full = Shell("\"$CLI\"" + args + " >/dev/full", errFile);
  EXPECT_EQ(full.status, 2);
  EXPECT_NE(full.err.find("write error"), std::string::npos) << full.err;

  // A reader that went away, with SIGPIPE ignored: the same stop, without a message (as grep does).
  CliRun closed = Shell("trap '' PIPE; \"$CLI\"" + args + " | true", errFile);
  EXPECT_EQ(closed.status, 2);
  EXPECT_EQ(closed.err, "");
}

// Regression: a location code page 932 cannot spell gave message 225, though the walk finds it inside a
// tree; the file search finds names it cannot spell either.
TEST_F(CliTest, LocationsAndNamesCodePage932CannotSpell) {
  tree.File("\xed\x95\x9c\xea\xb5\xad/k.txt", "hello korea\n");  // 한국/k.txt
  CliRun run = Cli({"-t", "-e*", "-b" + tree.Path("\xed\x95\x9c\xea\xb5\xad"), "-mhello"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, tree.Path("\xed\x95\x9c\xea\xb5\xad/k.txt") + ":1:hello korea\n");

  run = Cli({"-f", "-e*", "-b" + tree.Path("\xed\x95\x9c\xea\xb5\xad") + "/", "-mk"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, tree.Path("\xed\x95\x9c\xea\xb5\xad/k.txt") + "\n");
}

// Regression: a quote inside a line was written undoubled, so the row read back as broken cells.
TEST_F(CliTest, CsvDoublesQuotesInsideCells) {
  tree.File("q/code.c", "printf(\"a, b\");\n");
  CliRun run = Cli({"--format=csv", "-t", "-e*", "-b" + tree.Path("q"), "-mprintf"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"code.c\",\".\",1,\"printf(\"\"a, b\"\");\"\r\n"), std::string::npos) << run.out;
}

}  // namespace
