// Plain-string text search, run on the worker's code path against small trees: the line rules, the
// Shift-JIS character-boundary rule, case folding, files in every character code (detected and fixed),
// and files that must yield nothing without stopping the search.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "matching/code_convert.h"
#include "matching/utf8_matcher.h"
#include "platform/cp932.h"
#include "platform/deep_tree.h"
#include "search/search.h"
#include "search/search_request.h"
#include "testkit/collect_notify.h"
#include "testkit/temp_tree.h"

namespace {

using Strings = std::vector<std::string>;
using matching::CCodeConvert;

std::string Sjis(const char* utf8) {
  return platform::Cp932FromUtf8(utf8);
}

std::string Utf16(const std::string& sjis, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t u : platform::Utf16FromCp932(sjis)) {
    char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// UTF-16 with byte-order mark of UTF-8 text, every character kept (surrogate pairs beyond the BMP).
std::string Utf16FromUtf8(const std::string& utf8, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  auto put = [&](char32_t u) {
    char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  };
  for (size_t i = 0; i < utf8.size();) {
    char32_t code = 0;
    i += static_cast<size_t>(platform::Utf8SequenceAt(utf8, i, code));
    if (code < 0x10000) {
      put(code);
    } else {
      put(0xD800 + ((code - 0x10000) >> 10));
      put(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return bytes;
}

class TextScanTest : public ::testing::Test {
 protected:
  // Runs the search synchronously on the worker's code path.
  CollectNotify& Run(SearchConditions conditions, bool utf8Lines = false, bool handsBack = false) {
    notify = std::make_unique<CollectNotify>(shared);
    notify->utf8Lines = utf8Lines;
    notify->handsBack = handsBack;
    shared.stop.Reset();
    SearchThreadProc(BuildSearchRequest(conditions, *notify, shared, 0));
    return *notify;
  }

  // A plain-string text search of the whole tree in every extension; `code` is the character-code
  // setting (3 automatic).
  SearchConditions Conditions(const std::string& sjisPattern, int code = 3, bool ignoreCase = false) {
    SearchConditions c;
    c.SearchMoji = true;
    c.MojiAll = true;
    c.SubFolder = true;
    c.ConvertFlag = code;
    c.LetterClassify = ignoreCase;
    c.PatternText = sjisPattern;
    c.Locations = {tree.Root() + "/"};
    return c;
  }

  // "file:line:text" of every text hit (text in UTF-8), sorted.
  Strings TextHits() const { return notify->TextHitLines(); }

  TempTree tree;
  SearchShared shared;
  std::unique_ptr<CollectNotify> notify;
};

TEST_F(TextScanTest, LineRules) {
  tree.File("breaks.txt", "a\r\nb\rc\nd");
  tree.File("tabs.txt", "x\tkey\tkey key\ty\n\tlast key");
  tree.File("empty-lines.txt", "\n\r\n\r\rkey\n\n");
  struct Case {
    const char* name;
    const char* pattern;
    Strings expect;
  } cases[] = {
      {"CR LF, CR and LF each end one line", "c", {"breaks.txt:3:c"}},
      {"the last line needs no break", "d", {"breaks.txt:4:d"}},
      {"a line after CR LF", "b", {"breaks.txt:2:b"}},
      {"one hit per line, tabs become spaces",
       "key",
       {"empty-lines.txt:5:key", "tabs.txt:1:x key key key y", "tabs.txt:2: last key"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run(Conditions(c.pattern, 0));
    EXPECT_EQ(TextHits(), c.expect);
    EXPECT_EQ(notify->ends, std::vector<int>{0});
  }
}

// Long stretches between hits are counted in blocks; breaks of every kind fall on every offset of a block
// and across block edges, and the numbers must still agree with counting one break at a time.
TEST_F(TextScanTest, LineNumbersAcrossLongStretchesOfMixedBreaks) {
  // Text without CR is counted by its LFs alone, in blocks of another width.
  const std::vector<std::vector<const char*>> breakSets = {{"\n", "\r\n", "\r"}, {"\n"}};
  for (const auto& breaks : breakSets) {
    SCOPED_TRACE(breaks.size());
    std::string text;
    Strings expect;
    int line = 1;
    for (int i = 0; i < 20000; ++i) {
      std::string body(static_cast<size_t>(i * 7 % 23), 'x');
      if (i % 997 == 0) {
        body += "key";
        expect.push_back("mixed.txt:" + std::to_string(line) + ":" + body);
      }
      text += body + breaks[static_cast<size_t>(i * 5) % breaks.size()];
      ++line;
    }
    tree.File("mixed.txt", text);
    Run(Conditions("key", 0));
    std::sort(expect.begin(), expect.end());
    EXPECT_EQ(TextHits(), expect);
  }
}

// Text of LFs with one lone CR, which is a break of its own: wherever the CR stands before a hit (at the
// start, at the edges of the blocks the LFs are counted in, in the last bytes), the hit's line number and
// text are those of counting one break at a time.
TEST_F(TextScanTest, ALoneCrAnywhereBeforeAHitIsABreak) {
  std::string lines;
  while (lines.size() < 5000) lines += "abcdefghij\n";
  const size_t n = lines.size();
  for (size_t at :
       {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{31}, size_t{32}, size_t{1023}, size_t{1024},
        size_t{1025}, size_t{4096}, n - 33, n - 32, n - 17, n - 16, n - 15, n - 2}) {
    SCOPED_TRACE(at);
    std::string text = lines;
    text.back() = 'x';  // the hit's line is "x" + "key" behind the last break
    // The CR takes a letter's place with no LF behind it, so that it stands alone.
    while (text[at] == '\n' || text[at + 1] == '\n') ++at;
    text[at] = '\r';
    text += "key\n";
    int line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < n; ++i) {
      if (text[i] == '\n' || text[i] == '\r') {
        ++line;
        lineStart = i + 1;
      }
    }
    tree.File("cr.txt", text);
    Run(Conditions("key", 0));
    EXPECT_EQ(TextHits(),
              (Strings{"cr.txt:" + std::to_string(line) + ":" + text.substr(lineStart, n + 3 - lineStart)}));
  }
}

// 表 is 0x95 0x5C; its bytes also stand across the pair "ｕ" (0x82 0x95) and "\".
TEST_F(TextScanTest, ShiftJisMatchesStartOnACharacter) {
  const std::string hyou = Sjis("表");
  tree.File("false.txt", "\x82\x95\\ only across two characters\r\n");
  tree.File("both.txt", "\x82\x95\\ then " + hyou + "\r\n");
  tree.File("true.txt", "ab" + hyou + "\r\n");
  Run(Conditions(hyou, 0));
  EXPECT_EQ(TextHits(), (Strings{"both.txt:1:ｕ\\ then 表", "true.txt:1:ab表"}));
}

TEST_F(TextScanTest, IgnoreCaseFoldsAsciiAndFullWidthLetters) {
  tree.File("ascii.txt", "Hello World\r\n");
  tree.File("wide.txt", Sjis("ｈｅｌｌｏ ＷＯＲＬＤ\r\n"));
  tree.File("utf8.txt", "line one\nHELLO there\n");
  tree.File("wide-euc.txt", CCodeConvert::SjisToEuc(Sjis("日本語の\r\nＨｅｌｌｏ\r\n")));
  tree.File("wide-utf8.txt", CCodeConvert::SjisToUtf8(Sjis("日本語の\nＨｅＬＬＯ\n")));
  struct Case {
    const char* name;
    std::string pattern;
    bool ignoreCase;
    Strings expect;
  } cases[] = {
      {"case kept", "hello", false, {}},
      {"ASCII folded in every code", "hello", true, {"ascii.txt:1:Hello World", "utf8.txt:2:HELLO there"}},
      {"full-width folded in every code",
       Sjis("ＨＥＬＬＯ"),
       true,
       {"wide-euc.txt:2:Ｈｅｌｌｏ", "wide-utf8.txt:2:ＨｅＬＬＯ", "wide.txt:1:ｈｅｌｌｏ ＷＯＲＬＤ"}},
      {"full-width kept", Sjis("ＨＥＬＬＯ"), false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run(Conditions(c.pattern, 3, c.ignoreCase));
    EXPECT_EQ(TextHits(), c.expect);
  }
}

// The same text in every code the scan reads; each file is found through its own pattern form, confirmed
// in Shift-JIS, reported converted, and its hits carry the code the file was read in.
TEST_F(TextScanTest, EveryCharacterCodeIsFoundAndRecorded) {
  const std::string text =
      Sjis("これは検索の試験に使う日本語の文章です。\r\n二行目に検索語\tあり\r\n終わり\r\n");
  struct File {
    const char* name;
    std::string bytes;
    int code;
  } files[] = {
      {"sjis.txt", text, 0},
      {"euc.txt", CCodeConvert::SjisToEuc(text), 1},
      {"jis.txt", CCodeConvert::SjisToJis(text), 2},
      {"utf8.txt", CCodeConvert::SjisToUtf8(text), 4},
      {"utf8bom.txt", "\xEF\xBB\xBF" + CCodeConvert::SjisToUtf8(text), 4},
      {"utf16le.txt", Utf16(text, false), 5},
      {"utf16be.txt", Utf16(text, true), 6},
      {"utf16le-nomark.txt", Utf16(text, false).substr(2), 5},
      {"utf16be-nomark.txt", Utf16(text, true).substr(2), 6},
  };
  for (const File& f : files) tree.File(f.name, f.bytes);

  Run(Conditions(Sjis("検索語")));
  Strings expect;
  for (const File& f : files) expect.push_back(std::string(f.name) + ":2:二行目に検索語 あり");
  std::sort(expect.begin(), expect.end());
  EXPECT_EQ(TextHits(), expect);
  for (const auto& hit : notify->textHits) {
    auto file = std::find_if(std::begin(files), std::end(files),
                             [&](const File& f) { return hit->FileName() == f.name; });
    ASSERT_NE(file, std::end(files));
    EXPECT_EQ(hit->charCode, file->code) << file->name;
  }
}

// A front end that prints UTF-8 gets a UTF-8 file's own line besides the converted one, so a character
// code page 932 lacks (한, 😀) is not lost; files in other codes carry none.
TEST_F(TextScanTest, Utf8FilesGiveTheirOwnLinesWhenAskedFor) {
  tree.File("bom.txt", "\xEF\xBB\xBF検索\t한 😀\n二行目\n");
  tree.File("sjis.txt", Sjis("検索です\r\n"));
  struct Case {
    const char* name;
    bool ask;
    bool regex;
  } cases[] = {{"plain", true, false}, {"regular expression", true, true}, {"not asked", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions = Conditions(Sjis("検索"));
    conditions.BregFlag = c.regex;
    Run(conditions, c.ask);
    ASSERT_EQ(notify->textHits.size(), 2u);
    for (const auto& hit : notify->textHits) {
      bool utf8 = hit->FileName() == "bom.txt";
      EXPECT_EQ(hit->utf8Line, utf8 && c.ask ? "検索 한 😀" : "") << hit->FileName();
      if (utf8) {
        EXPECT_EQ(hit->lineText, Sjis("検索 ? ?"));
      }
    }
  }
}

// A raw match in a UTF-8 file is reported without converting and confirming its line in Shift-JIS when
// the confirmation could not say otherwise; the lines must be those the confirmation gives. Invalid bytes
// before the match, a search string whose UTF-8 form converts back to another code (the IBM form of Ⅰ,
// which UTF-8 text converts to the NEC form: no hit, as in the confirmation) and folded letters are the
// cases where the two could part. A front end that takes the UTF-8 lines only gets no converted line.
TEST_F(TextScanTest, Utf8RawMatchesGiveTheLinesTheConfirmationGives) {
  struct Case {
    const char* name;
    std::string pattern;  // Shift-JIS
    bool ignoreCase;
    std::string line;  // UTF-8, the second line of the file
    bool hit;
  } cases[] = {
      {"plain", Sjis("人"), false, "a 人 b", true},
      {"after a cut three-byte sequence", Sjis("人"), false, "\xE4人", true},
      {"after a lone continuation byte", Sjis("人"), false, "\xBA\xBA人", true},
      {"after a cut four-byte sequence", Sjis("人x"), false, "\xF0\x9F人x", true},
      {"half-width kana after an invalid byte", Sjis("ｱｲ"), false, "\xEFｱｲ", true},
      {"no letter to fold, case ignored", Sjis("検索"), true, "全文検索", true},
      {"letters folded", Sjis("Ab人"), true, "x aB人", true},
      {"IBM form of Ⅰ", "\xFA\x4A", false, "Ⅰ", false},
      {"NEC form of Ⅰ", "\x87\x54", false, "Ⅰ", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A first line long enough that detection sees only well-formed UTF-8 before the line.
    std::string text = "first";
    for (int i = 0; i < 100; ++i) text += "日本";
    TempTree files;
    files.File("utf8.txt", text + "\n" + c.line + "\n");
    for (bool only : {false, true}) {
      SearchConditions conditions = Conditions(c.pattern, 3, c.ignoreCase);
      conditions.Locations = {files.Root() + "/"};
      notify = std::make_unique<CollectNotify>(shared);
      notify->utf8Lines = true;
      notify->utf8LinesOnly = only;
      shared.stop.Reset();
      SearchThreadProc(BuildSearchRequest(conditions, *notify, shared, 0));
      ASSERT_EQ(notify->textHits.size(), c.hit ? 1u : 0u) << only;
      if (!c.hit) continue;
      const auto& hit = notify->textHits[0];
      EXPECT_EQ(hit->charCode, kCodeUtf8);
      EXPECT_EQ(hit->lineNumber, 2);
      EXPECT_EQ(hit->utf8Line, c.line);
      // Only a raw match taken as it stands leaves the converted line out.
      const bool rawTaken = only && !(c.ignoreCase && c.pattern == Sjis("Ab人"));
      EXPECT_EQ(hit->lineText, rawTaken ? "" : platform::Cp932FromUtf8(c.line)) << only;
    }
  }
}

// A search string code page 932 cannot hold used to become "?" and find every line holding "?". Its own
// characters are found in UTF-8 and UTF-16 files (reported in code page 932, with the UTF-8 line for
// front ends that print it); files in the other codes cannot hold it and give no hit.
TEST_F(TextScanTest, UnheldSearchStringIsNeverAQuestionMark) {
  struct Case {
    const char* name;
    std::string native;  // as typed; it reaches the search as its code-page-932 form and itself
    std::string line;    // a line holding it
    bool inUtf16;        // UTF-16 can hold it too
  } cases[] = {
      {"Korean", "한국", "말 한국어", true},
      {"emoji", "😀!", "x 😀! y", true},
      {"invalid UTF-8 bytes", "\xff\xfe", "a\xff\xfe", false},
      {"with a twin character", "〜Ａ한", "z ～Ａ한", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempTree files;
    const std::string questions = Sjis("??? 検索 ??") + "\r\n";
    // A first line long enough that detection sees only well-formed UTF-8 before the line.
    std::string text = "first";
    for (int i = 0; i < 100; ++i) text += "日本";
    text += "\n" + c.line + "\n";
    const bool utf16 = c.inUtf16;
    files.File("sjis.txt", questions);
    files.File("euc.txt", CCodeConvert::SjisToEuc(questions));
    files.File("jis.txt", CCodeConvert::SjisToJis(questions));
    files.File("utf8-questions.txt", "??? ??\n");
    files.File("utf8.txt", text);
    if (utf16) {
      files.File("utf16le.txt", Utf16FromUtf8(text, false));
      files.File("utf16be.txt", Utf16FromUtf8(text, true));
    }
    for (bool ignoreCase : {false, true}) {
      SearchConditions conditions = Conditions(platform::Cp932FromUtf8(c.native), 3, ignoreCase);
      conditions.PatternNative = c.native;
      conditions.Locations = {files.Root() + "/"};
      Run(conditions, true);
      Strings names;
      for (const auto& hit : notify->textHits) {
        names.push_back(hit->FileName());
        EXPECT_EQ(hit->lineNumber, 2);
        EXPECT_EQ(hit->lineText, platform::Cp932FromUtf8(c.line));
        EXPECT_EQ(hit->utf8Line, c.line);
      }
      std::sort(names.begin(), names.end());
      EXPECT_EQ(names, (utf16 ? Strings{"utf16be.txt", "utf16le.txt", "utf8.txt"} : Strings{"utf8.txt"}));
      EXPECT_EQ(notify->ends, std::vector<int>{0});
    }
  }
}

// The seven characters code page 932 takes from two Unicode characters each: typed in either form, the
// search string finds both in UTF-8 and UTF-16 files (it used to find only the Microsoft form in UTF-8
// files, and "—" found "―" alone), and the one code in Shift-JIS files.
TEST_F(TextScanTest, TwinCharactersFindBothFormsInUnicodeFiles) {
  for (const auto& twin : matching::kTwinCharacters) {
    std::string jis, microsoft;
    platform::AppendUtf8(twin.jis, jis);
    platform::AppendUtf8(twin.microsoft, microsoft);
    SCOPED_TRACE(jis + " " + microsoft);
    TempTree files;
    const std::string text = "a" + jis + "b\nnone\na" + microsoft + "b\n";
    files.File("utf8.txt", text);
    files.File("utf16.txt", Utf16FromUtf8(text, false));
    files.File("sjis.txt", platform::Cp932FromUtf8(text));
    for (const std::string& typed : {jis, microsoft}) {
      // A front end keeps the native form of the JIS form (code page 932 reads it back as the other form);
      // the search must still run in code page 932.
      SearchConditions conditions = Conditions(platform::Cp932FromUtf8("a" + typed));
      conditions.PatternNative = platform::Cp932CanHold("a" + typed) ? "" : "a" + typed;
      conditions.Locations = {files.Root() + "/"};
      Run(conditions, true);
      Strings found;
      for (const auto& hit : notify->textHits) {
        found.push_back(hit->FileName() + ":" + hit->lineNumberText + ":" +
                        (hit->utf8Line.empty() ? platform::Utf8FromCp932(hit->lineText) : hit->utf8Line));
      }
      std::sort(found.begin(), found.end());
      EXPECT_EQ(found, (Strings{"sjis.txt:1:a" + microsoft + "b", "sjis.txt:3:a" + microsoft + "b",
                                "utf16.txt:1:a" + microsoft + "b", "utf16.txt:3:a" + microsoft + "b",
                                "utf8.txt:1:a" + jis + "b", "utf8.txt:3:a" + microsoft + "b"}));
    }
  }
}

// Files are scanned side by side where there are cores for it; the hits still arrive file by file in the
// order of the walk, each file's lines in order, as from one scanner. The same holds when the front end
// hands its records back and new hits are written into them: no hit is written over while still queued.
TEST_F(TextScanTest, HitsArriveFileByFileInLineOrder) {
  for (int f = 0; f < 120; ++f) {
    std::string text;
    const int lines = (f % 7) * 400 + 5;  // files of very different lengths finish out of turn
    for (int i = 0; i < lines; ++i) {
      if (i % 3 == 0) {
        text += "key line ";
        text += std::to_string(i);
        text += '\n';
      } else {
        text += "other line\n";
      }
    }
    tree.File("f" + std::to_string(f) + ".txt", text);
  }
  for (bool handsBack : {false, true}) {
    SCOPED_TRACE(handsBack ? "records handed back" : "records kept");
    Run(Conditions("key"), false, handsBack);
    std::vector<std::string> files;
    int last = 0;
    size_t hits = 0;
    for (const auto& hit : notify->textHits) {
      if (files.empty() || files.back() != hit->FileName()) {
        ASSERT_EQ(std::find(files.begin(), files.end(), hit->FileName()), files.end()) << hit->FileName();
        files.push_back(hit->FileName());
        last = 0;
      }
      ASSERT_GT(hit->lineNumber, last) << hit->FileName();
      ASSERT_EQ(hit->lineText, "key line " + std::to_string(hit->lineNumber - 1)) << hit->FileName();
      ASSERT_EQ(hit->lineNumberText, std::to_string(hit->lineNumber));
      last = hit->lineNumber;
      ++hits;
    }
    EXPECT_EQ(files.size(), 120u);
    size_t expected = 0;
    for (int f = 0; f < 120; ++f) expected += static_cast<size_t>(((f % 7) * 400 + 5 + 2) / 3);
    EXPECT_EQ(hits, expected);
    EXPECT_EQ(notify->ends, std::vector<int>{0});
    EXPECT_EQ(notify->reclaimed > 0, handsBack);  // the reuse did happen
  }
}

// The current-folder text is kept and notified only for a front end that shows it; the hits are the same.
TEST_F(TextScanTest, ProgressOnlyForAFrontEndThatShowsIt) {
  tree.File("a/one.txt", "key\n");
  tree.File("b/two.txt", "no\nkey\n");
  for (bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "not shown");
    notify = std::make_unique<CollectNotify>(shared);
    notify->wantsProgress = shown;
    shared.stop.Reset();
    SearchConditions conditions = Conditions("key");
    SearchThreadProc(BuildSearchRequest(conditions, *notify, shared, 0));
    EXPECT_EQ(notify->progressCount > 0, shown);
    EXPECT_EQ(TextHits(), (Strings{"one.txt:1:key", "two.txt:2:key"}));
  }
}

// A fixed code reads every file in that code: the EUC-JP setting finds the EUC-JP file and nothing in the
// others, and stores 1 in its hit.
TEST_F(TextScanTest, FixedCodeReadsEveryFileInThatCode) {
  const std::string text = Sjis("日本語の検索語です\r\n");
  tree.File("sjis.txt", text);
  tree.File("euc.txt", CCodeConvert::SjisToEuc(text));
  tree.File("utf8.txt", CCodeConvert::SjisToUtf8(text));
  struct Case {
    int code;
    Strings expect;
  } cases[] = {
      {0, {"sjis.txt:1:日本語の検索語です"}},
      {1, {"euc.txt:1:日本語の検索語です"}},
      {2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Run(Conditions(Sjis("検索語"), c.code));
    EXPECT_EQ(TextHits(), c.expect);
    for (const auto& hit : notify->textHits) EXPECT_EQ(hit->charCode, c.code);
  }
}

// A zero byte in the first part of a file ends its text, so the rest need not be read, except for
// UTF-16 with or without a byte-order mark, whose text is full of zero bytes: a hit far behind them is
// still found.
TEST_F(TextScanTest, FilesLongerThanTheirFirstPart) {
  std::string lines;
  for (int i = 0; i < 20000; ++i) lines += "line\r\n";
  tree.File("utf16.txt", Utf16(lines + "key at the end\r\n", false));
  tree.File("utf16-nomark.txt", Utf16(lines + "key at the end\r\n", true).substr(2));
  tree.File("binary.bin", std::string("\x7F"
                                      "ELF\0\0",
                                      6) +
                              lines + "key\n");
  tree.File("text.txt", lines + "key\n");
  Run(Conditions("key"));
  EXPECT_EQ(TextHits(), (Strings{"text.txt:20001:key", "utf16-nomark.txt:20001:key at the end",
                                 "utf16.txt:20001:key at the end"}));
}

// A large file is searched a stretch of a megabyte at a time: a hit that straddles the end of a stretch,
// and a CR LF split by it, keep their lines and line numbers in every kind of scan.
TEST_F(TextScanTest, StretchesOfALargeFileJoinWithoutASeam) {
  constexpr size_t kMiB = size_t{1} << 20;
  std::string text;
  // Lines of filler up to `at`, the last one cut short with "f" to end exactly there.
  auto fillTo = [&](size_t at) {
    while (text.size() + 8 <= at) text += "filler\r\n";
    text += std::string(at - text.size(), 'f');
  };
  fillTo(kMiB - 1);
  text += "\r\n";  // CR the last byte of the first stretch, LF the first of the second
  fillTo(2 * kMiB - 5);
  text += "\r\nneedle one\r\n";  // starts 3 bytes before the second stretch ends
  fillTo(3 * kMiB + 10);
  text += "\r\nneedle two\r\n";
  tree.File("big.txt", text);
  auto lineOf = [&](const char* needle) {
    const size_t at = text.find(needle);
    return "big.txt:" + std::to_string(std::count(text.begin(), text.begin() + at, '\n') + 1) + ":" + needle;
  };
  const Strings expect = {lineOf("needle one"), lineOf("needle two")};
  struct Case {
    const char* name;
    const char* pattern;
    bool ignoreCase;
    bool regex;
  } cases[] = {
      {"plain string", "needle", false, false},
      {"case ignored", "NEEDLE", true, false},
      {"regular expression with a literal", "needle \\w+", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions = Conditions(c.pattern, 0, c.ignoreCase);
    conditions.BregFlag = c.regex;
    Run(conditions);
    EXPECT_EQ(TextHits(), expect);
  }
}

// Regression: a file whose full path is too long for one call was skipped by the text search, though the
// walk reached it and the name search listed it.
TEST_F(TextScanTest, FilesWhosePathIsTooLongForOneCall) {
  const std::string deep = MakeDeepFile(tree.Root(), 21, "deep.txt", "first\nkey in the deep\n");
  ASSERT_FALSE(deep.empty());
  ASSERT_GT(deep.size(), 4096u);
  tree.File("near.txt", "key nearby\n");
  for (const std::string& location : {tree.Root() + "/", deep}) {
    SCOPED_TRACE(location.substr(0, 60));
    SearchConditions c = Conditions("key");
    c.Locations = {location};
    Run(c);
    Strings expect = {"deep.txt:2:key in the deep"};
    if (location.back() == '/') expect.push_back("near.txt:1:key nearby");
    EXPECT_EQ(TextHits(), expect);
  }
}

// Files that yield no hit, or only before their first zero byte, and never stop the search.
TEST_F(TextScanTest, ZeroBytesEmptyBinaryAndUnreadableFiles) {
  tree.File("empty.txt", "");
  tree.File("nul-first.bin", std::string("\0key\nkey\n", 9));
  tree.File("nul-inside.txt", std::string("key 1\nkey\0 2\nkey 3\n", 19));
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919 + 13) % 251 + 1);
  tree.File("binary.bin", binary + std::string(1, '\0') + "key");
  tree.File("locked.txt", "key\n");
  ASSERT_EQ(chmod(tree.Path("locked.txt").c_str(), 0), 0);
  ASSERT_EQ(mkfifo(tree.Path("fifo.txt").c_str(), 0600), 0);  // nothing writes: opening must not wait
  tree.File("z.txt", "key at the end\n");

  Run(Conditions("key"));
  Strings expect = {"nul-inside.txt:1:key 1", "nul-inside.txt:2:key", "z.txt:1:key at the end"};
  if (geteuid() == 0) expect.insert(expect.begin(), "locked.txt:1:key");  // root reads it anyway
  EXPECT_EQ(TextHits(), expect);
  EXPECT_EQ(notify->ends, std::vector<int>{0});
}

}  // namespace
