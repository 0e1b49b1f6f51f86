// Searches with a regular expression, run on the worker's code path against small trees: names matched by
// the expression, lines of files in every character code, the empty-line and tab rules, a rejected
// expression ending the search with its message, and runaway expressions that must end.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "matching/breg.h"
#include "matching/code_convert.h"
#include "platform/cp932.h"
#include "search/search.h"
#include "search/search_request.h"
#include "testkit/collect_notify.h"
#include "testkit/temp_tree.h"

namespace {

using Strings = std::vector<std::string>;

std::string Sjis(const char* utf8) {
  return platform::Cp932FromUtf8(utf8);
}

class RegexSearchTest : public ::testing::Test {
 protected:
  // Runs the search synchronously on the worker's code path.
  CollectNotify& Run(SearchConditions conditions) {
    notify = std::make_unique<CollectNotify>(shared);
    shared.stop.Reset();
    result = SearchThreadProc(BuildSearchRequest(conditions, *notify, shared, 0));
    return *notify;
  }

  // A regular-expression search of the tree, unlimited depth, every extension.
  SearchConditions Conditions(const std::string& sjisExpression, bool text, bool files, bool folders) {
    SearchConditions c;
    c.SearchMoji = text;
    c.SearchFile = files;
    c.SearchFolder = folders;
    c.MojiAll = c.FileAll = true;
    c.SubFolder = true;
    c.BregFlag = true;
    c.PatternText = sjisExpression;
    c.Locations = {tree.Root() + "/"};
    return c;
  }

  // "file:line:text" of every text hit (text in UTF-8), sorted.
  Strings TextHits() const { return notify->TextHitLines(); }

  Strings SortedNames() const {
    Strings names;
    for (const auto& hit : notify->nameHits) names.push_back(platform::Utf8FromCp932(hit->name));
    std::sort(names.begin(), names.end());
    return names;
  }

  TempTree tree;
  SearchShared shared;
  std::unique_ptr<CollectNotify> notify;
  int result = -1;
};

TEST_F(RegexSearchTest, NamesMatchWithoutCaseAndNeverOnATrailByte) {
  // 表 is 0x95 0x5C in Shift-JIS: its second byte is a backslash.
  tree.File("\xe8\xa1\xa8x.txt");     // 表x.txt: "\x" only across 表's second byte
  tree.File("\xe8\xa1\xa8x\\x.txt");  // 表x\x.txt: a real "\x" after the false one
  tree.File("plain.txt");
  tree.Folder("Data2024");
  tree.Folder("data/sub");
  struct Case {
    const char* name;
    const char* expression;  // UTF-8
    bool files, folders;
    Strings expect;
  } cases[] = {
      {"backslash only as a real character", "\\\\x", true, false, {"\xe8\xa1\xa8x\\x.txt"}},
      {"anchored, names ignore case", "^data\\d+$", false, true, {"Data2024"}},
      {"files and folders together", "^(PLAIN|sub)", true, true, {"plain.txt", "sub"}},
      {"double-byte character is one character", "^.x\\.txt$", true, false, {"\xe8\xa1\xa8x.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run(Conditions(Sjis(c.expression), false, c.files, c.folders));
    EXPECT_EQ(SortedNames(), c.expect);
    EXPECT_EQ(notify->ends, std::vector<int>{0});
    EXPECT_EQ(result, 0);
  }
}

TEST_F(RegexSearchTest, LinesInEveryCodeAreFoundAfterConversion) {
  // 日本語<tab>テキスト on line 2 behind a longer Japanese first line, so that detection has text to go on.
  const std::string text =
      Sjis("これは検索の試験に使う日本語の文章です。\r\n日本語\tテキスト\r\n\r\n終わり\r\n");
  struct Case {
    const char* file;
    std::string bytes;
    int code;
  } cases[] = {
      {"sjis.txt", text, 0},
      {"euc.txt", CCodeConvert::SjisToEuc(text), 1},
      {"jis.txt", CCodeConvert::SjisToJis(text), 2},
      {"utf8.txt", CCodeConvert::SjisToUtf8(text), 4},
      {"utf8bom.txt", "\xEF\xBB\xBF" + CCodeConvert::SjisToUtf8(text), 4},
  };
  for (const Case& c : cases) tree.File(c.file, c.bytes);
  std::u16string units = platform::Utf16FromCp932(text);
  std::string utf16le = "\xFF\xFE";
  for (char16_t u : units) utf16le += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  tree.File("utf16le.txt", utf16le);

  // Tabs are tabs to the expression and spaces in the report.
  Run(Conditions(Sjis("^日本語\\tテ.スト$"), true, false, false));
  Strings expect;
  for (const char* file : {"euc.txt", "jis.txt", "sjis.txt", "utf16le.txt", "utf8.txt", "utf8bom.txt"}) {
    expect.push_back(std::string(file) +
                     ":2:\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e \xe3\x83\x86\xe3\x82\xad"
                     "\xe3\x82\xb9\xe3\x83\x88");
  }
  EXPECT_EQ(TextHits(), expect);
  for (const auto& hit : notify->textHits) {
    const std::string file = hit->FileName();
    const int code = file == "utf16le.txt" ? 5
                     : file == "euc.txt"   ? 1
                     : file == "jis.txt"   ? 2
                     : file[0] == 'u'      ? 4
                                           : 0;
    EXPECT_EQ(hit->charCode, code) << file;
  }
  EXPECT_EQ(notify->ends, std::vector<int>{0});

  // A space in the expression does not match the tab.
  Run(Conditions(Sjis("日本語 テ"), true, false, false));
  EXPECT_TRUE(notify->textHits.empty());
}

TEST_F(RegexSearchTest, LineRulesOfTheRegularExpressionScan) {
  tree.File("a.txt", "one\n\n\r\nab ab ab\rlast\tline");
  tree.File("b.txt", "\x95\x5cx\nz\\x\n");  // 表x: "\x" only across 表's second byte on line 1
  struct Case {
    const char* name;
    const char* expression;
    bool ignoreCase;
    Strings expect;
  } cases[] = {
      {"empty match: every line but the empty ones",
       "x*",
       false,
       {"a.txt:1:one", "a.txt:4:ab ab ab", "a.txt:5:last line", "b.txt:1:\xe8\xa1\xa8x", "b.txt:2:z\\x"}},
      {"one hit for a line with three matches", "ab", false, {"a.txt:4:ab ab ab"}},
      {"anchors at the line's ends, tab seen as a tab", "^last\\tline$", false, {"a.txt:5:last line"}},
      {"ignore case", "^LAST", true, {"a.txt:5:last line"}},
      {"case significant", "^LAST", false, {}},
      {"no match across a character", "\\\\x", false, {"b.txt:2:z\\x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions = Conditions(c.expression, true, false, false);
    conditions.LetterClassify = c.ignoreCase;
    conditions.ConvertFlag = 0;
    Run(conditions);
    EXPECT_EQ(TextHits(), c.expect);
    EXPECT_EQ(notify->ends, std::vector<int>{0});
  }
}

TEST_F(RegexSearchTest, RejectedExpressionEndsTheSearchWithTheLibrarysMessage) {
  tree.File("a.txt", "abc\n");
  for (bool text : {true, false}) {
    SCOPED_TRACE(text ? "text search" : "name search");
    Run(Conditions("(abc", text, !text, false));
    EXPECT_EQ(notify->ends, std::vector<int>{1});
    EXPECT_EQ(notify->endDetail, "end pattern with unmatched parenthesis");
    EXPECT_TRUE(notify->textHits.empty());
    EXPECT_TRUE(notify->nameHits.empty());
    EXPECT_EQ(result, 1);
  }
}

TEST_F(RegexSearchTest, WithoutTheLibraryTheSearchEndsWithAMessage) {
  tree.File("a.txt", "abc\n");
  TempTree empty;
  matching::SetRegexLibraryFolderForTesting(empty.Root(), false);
  Run(Conditions("abc", true, false, false));
  matching::SetRegexLibraryFolderForTesting("", true);
  EXPECT_EQ(notify->ends, std::vector<int>{1});
  EXPECT_EQ(notify->endDetail, Sjis("正規表現ライブラリ libbregexp.so を読み込めません"));
  EXPECT_TRUE(notify->textHits.empty());
}

// The library matches Shift-JIS only: a search string code page 932 cannot hold once searched for the "?"
// in its place ("한국" became "??", which the library rejected with a puzzling message). It is refused
// with a message that says why, for text and for names.
TEST_F(RegexSearchTest, UnheldSearchStringIsRefusedWithAClearMessage) {
  tree.File("a.txt", "한국\n??\n");
  for (bool text : {true, false}) {
    SCOPED_TRACE(text ? "text search" : "name search");
    SearchConditions conditions = Conditions(Sjis("한국"), text, !text, !text);
    conditions.PatternNative = "한국";
    Run(conditions);
    EXPECT_EQ(notify->ends, std::vector<int>{1});
    EXPECT_EQ(notify->endDetail, matching::kMessageRegexNotInCodePage);
    EXPECT_NE(platform::Utf8FromCp932(notify->endDetail).find("正規表現では Shift_JIS で表せない文字を"),
              std::string::npos);
    EXPECT_TRUE(notify->textHits.empty());
    EXPECT_TRUE(notify->nameHits.empty());
    EXPECT_EQ(result, 1);
  }
}

// UTF-8 lines that can hold a match are found by a literal of the expression in the raw bytes when it
// has one, else every line is converted: both ways give the same lines and numbers, whatever the breaks.
TEST_F(RegexSearchTest, Utf8LinesWithAndWithoutALiteral) {
  tree.File("u.txt",
            "\xEF\xBB\xBF"
            "日本語の行\r\n\r\nただの行\r日本\t語\n\n東日本\n語日本");
  const Strings expect = {"u.txt:1:日本語の行", "u.txt:4:日本 語", "u.txt:6:東日本", "u.txt:7:語日本"};
  for (const char* expression : {"日本", "[日]本", "日本(.*語)?"}) {
    SCOPED_TRACE(expression);
    SearchConditions c = Conditions(Sjis(expression), true, false, false);
    c.ConvertFlag = 3;
    Run(c);
    EXPECT_EQ(TextHits(), expect);
  }
}

TEST_F(RegexSearchTest, RunawayExpressionsEnd) {
  // Long lines of "a" with one short line that matches after them: the library gives up on the long
  // lines (no hit there) and the scan goes on to the end of the file.
  std::string lines;
  for (int i = 0; i < 3; ++i) lines += std::string(5000, 'a') + "\n";
  lines += "aab\n";
  tree.File("a.txt", lines);
  struct Case {
    const char* expression;
    Strings expect;
  } cases[] = {
      {"(a*)*b", {"a.txt:4:aab"}},
      {"(a+)+[bc]", {"a.txt:4:aab"}},
      {"(?:(?:a|aa)+)+[bc]", {"a.txt:4:aab"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    Run(Conditions(c.expression, true, false, false));
    EXPECT_EQ(TextHits(), c.expect);
    EXPECT_EQ(notify->ends, std::vector<int>{0});
  }
}

// Regression: an expression that runs away on every line of a file (each line given up by the library only
// after its whole effort) took minutes on a file of many such lines, and a stop waited for it. Past a few
// lines given up, the rest of the file is abandoned and the search goes on.
TEST_F(RegexSearchTest, AFileTheExpressionRunsAwayOnIsAbandoned) {
  std::string lines;
  for (int i = 0; i < 50; ++i) lines += std::string(40, 'a') + "\n";
  tree.File("runaway.txt", lines + "x\n");
  tree.File("other.txt", "x\n");
  Run(Conditions("(a*)*[^a]", true, false, false));
  EXPECT_EQ(TextHits(), (Strings{"other.txt:1:x"}));
  EXPECT_EQ(notify->ends, std::vector<int>{0});
}

}  // namespace
