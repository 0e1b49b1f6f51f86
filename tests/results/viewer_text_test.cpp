// The viewer's shown text: the line cut, the "<HR>" cut, CR LF line ends, entity decoding, and a file
// read and converted in every character code.
#include "results/viewer_text.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>

#include "matching/code_convert.h"
#include "testkit/temp_tree.h"

namespace {

// What the viewer shows of the file at `path`, as it reads it: nothing loaded when it cannot be read.
ViewerText LoadViewerText(const std::string& path, const ViewerRequest& request) {
  const ViewerFile file = ReadViewerFile(path);
  return file.data ? MakeViewerText(file.Bytes(), request) : ViewerText{};
}

// "1\n2\n...\n<n>\n": line k holds the number k.
std::string NumberedLines(int n, const char* end = "\n") {
  std::string text;
  for (int k = 1; k <= n; ++k) text += std::to_string(k) + end;
  return text;
}

std::string Shown(std::string_view text, const ViewerCut& cut) {
  return std::string(text.substr(cut.begin, cut.end - cut.begin));
}

std::string Utf16(std::string_view ascii, bool bigEndian, bool mark) {
  std::string out;
  if (mark) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) {
    out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return out;
}

TEST(ViewerCutTest, Lines) {
  struct Case {
    const char* name;
    std::string text;
    int line, before, after;
    std::string shown;
    int hitLine;
  };
  const Case cases[] = {
      {"defaults: hit line and five after", NumberedLines(20), 10, 0, 5, "10\n11\n12\n13\n14\n15\n", 1},
      {"before reaching past line 1", NumberedLines(20), 2, 3, 5, "1\n2\n3\n4\n5\n6\n7\n", 2},
      {"before equal to the line", NumberedLines(20), 3, 3, 0, "1\n2\n3\n", 3},
      {"before less than the line", NumberedLines(20), 5, 2, 1, "3\n4\n5\n6\n", 3},
      {"after reaching past the end", NumberedLines(4), 3, 0, 255, "3\n4\n", 1},
      {"last line without a line end", "1\n2\n3", 3, 1, 5, "2\n3", 2},
      {"CR LF, lone CR and lone LF all end lines", "1\r\n2\r3\n4\r\n5", 2, 0, 2, "2\r3\n4\r\n", 1},
      {"CR CR is two lines", "1\r\r3\r\n", 2, 0, 0, "\r", 1},
      {"hit beyond the end (the file shrank)", NumberedLines(3), 9, 0, 5, "", 1},
      {"largest line number", NumberedLines(3), 2147483647, 255, 255, "", 256},
  };
  for (const Case& c : cases) {
    const ViewerCut cut = CutLines(c.text, c.line, c.before, c.after);
    EXPECT_EQ(Shown(c.text, cut), c.shown) << c.name;
    EXPECT_EQ(cut.hitLine, c.hitLine) << c.name;
  }
}

TEST(ViewerCutTest, HrRange) {
  struct Case {
    const char* name;
    std::string text;
    int line;
    std::string shown;
    int hitLine;
  };
  const std::string tagged = "1\n2\n<HR>\n4\n5 hit\n6\n7\n8\n<HR>\n10\n";
  const Case cases[] = {
      {"tags alone on lines 3 and 9", tagged, 5, "4\n5 hit\n6\n7\n8\n", 2},
      {"lower-case tag with an attribute", "1\n2\n<hr class=\"x\">\n4\n5\n6\n7\n8\n<HR>\n", 5,
       "4\n5\n6\n7\n8\n", 2},
      {"no tag: the whole text", "a\nb\nc\n", 2, "a\nb\nc\n", 2},
      {"a tag on the hit line ends the range before it", "1\n2\n<hr>hit\n4\n", 3, "1\n2\n", 3},
      {"a tag before the hit on its own line ends the range", "<HR>\nab<HR>hit\n", 2, "ab", 1},
      {"a tag mid-line starts the range mid-line", "x<HR>tail\nhit\n", 2, "tail\nhit\n", 2},
      {"the last of several tags counts", "<HR>\n<Hr>\nhit\n<hR>x", 3, "hit\n", 1},
      {"an attribute tag without > runs to the line end", "<HR size=2\nhit\n", 2, "hit\n", 1},
      {"<HRX> is no tag", "<HRX>\nhit\n", 2, "<HRX>\nhit\n", 2},
      {"tag ending with CR LF", "<HR>\r\nhit\r\n<HR>", 2, "hit\r\n", 1},
      {"hit beyond the end: after the last tag", "a\n<HR>\nb\n", 9, "b\n", 7},
      {"tag cut by the end of the text", "a\n<HR", 2, "a\n<HR", 2},
  };
  for (const Case& c : cases) {
    const ViewerCut cut = CutHrRange(c.text, c.line);
    EXPECT_EQ(Shown(c.text, cut), c.shown) << c.name;
    EXPECT_EQ(cut.hitLine, c.hitLine) << c.name;
  }
}

TEST(ViewerCutTest, Utf16UnitsFollowTheSameRules) {
  const std::u16string text = u"1\r\n2\n<hr a>\r4\r\n5\n<HR>6";
  const ViewerCut lines = CutLines(std::u16string_view(text), 2, 1, 1);
  EXPECT_EQ(text.substr(lines.begin, lines.end - lines.begin), u"1\r\n2\n<hr a>\r");
  const ViewerCut hr = CutHrRange(std::u16string_view(text), 5);
  EXPECT_EQ(text.substr(hr.begin, hr.end - hr.begin), u"4\r\n5\n");
  EXPECT_EQ(hr.hitLine, 2);
}

TEST(ViewerTextTest, EveryLineEndBecomesCrLf) {
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {"a\nb", "a\r\nb"},           {"a\rb\r", "a\r\nb\r\n"}, {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"\n\r\r\n", "\r\n\r\n\r\n"}, {"\r", "\r\n"},           {"", ""},
      {"\x81\x0d", "\x81\r\n"},  // a lead byte before a CR does not take it as its trail
  };
  for (const Case& c : cases) EXPECT_EQ(WithCrLf(c.text), c.expected) << c.text;
}

TEST(ViewerTextTest, EntitiesDecodedOnceFromTheStart) {
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {"&lt;b&gt;", "<b>"},
      {"&quot;x&quot;&nbsp;&amp;", "\"x\" &"},
      {"&amp;lt;", "&lt;"},  // the decoded "&" is not read again
      {"&amp;amp;", "&amp;"},
      {"&LT; &lt &unknown; &", "&LT; &lt &unknown; &"},
      {"&&lt;", "&<"},
      {"&lt;&lt;", "<<"},
      {"\x82\xa0&gt;", "\x82\xa0>"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeEntities(c.text), c.expected) << c.text;
}

// A small HTML text with a hit on line 3, in every character code the viewer reads.
TEST(ViewerTextTest, EveryCodeShowsTheSameShiftJisText) {
  const std::string sjis = "<p>\n<HR>\n\x90\xdd\x92\xe8 &lt;b&gt;\n<hr>\n";  // 設定 &lt;b&gt;
  const std::string ascii = "one\n<HR>\nhit &lt;b&gt;\n<hr>\n";
  struct Case {
    const char* name;
    int code;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"Shift-JIS", 0, sjis, sjis},
      {"EUC-JP", 1, CCodeConvert::SjisToEuc(sjis), sjis},
      {"JIS", 2, CCodeConvert::SjisToJis(sjis), sjis},
      {"UTF-8 with its mark", 4, "\xEF\xBB\xBF" + CCodeConvert::SjisToUtf8(sjis), sjis},
      {"UTF-16LE with its mark", 5, Utf16(ascii, false, true), ascii},
      {"UTF-16BE with its mark", 6, Utf16(ascii, true, true), ascii},
      {"UTF-16BE without a mark", 6, Utf16(ascii, true, false), ascii},
  };
  for (const Case& c : cases) {
    const std::string third = c.text.substr(c.text.find("<HR>\n") + 5);
    const std::string hitLine = third.substr(0, third.find('\n'));
    struct Range {
      int range;
      std::string shown;
      int top;
    };
    const Range ranges[] = {
        {0, WithCrLf(c.text), 3},
        {1, hitLine + "\r\n<hr>\r\n", 1},
        {2, DecodeEntities(hitLine) + "\r\n", 1},
    };
    for (const Range& r : ranges) {
      const ViewerText shown = MakeViewerText(c.bytes, {c.code, r.range, 3, 0, 1});
      EXPECT_TRUE(shown.loaded);
      EXPECT_EQ(shown.text, r.shown) << c.name << ", range " << r.range;
      EXPECT_EQ(shown.topLine, r.top) << c.name << ", range " << r.range;
    }
  }
}

// A first part is the whole range's lines around the hit, exactly: the same text from a line start on,
// with the hit on the same line, in every code and in both ranges that can be large.
TEST(ViewerTextTest, AFirstPartIsTheRangesOwnLinesAroundTheHit) {
  std::string sjis = "<p>\n<HR>\n";
  for (int k = 3; k <= 40; ++k) sjis += "\x90\xdd\x92\xe8 " + std::to_string(k) + " &lt;b&gt;\r\n";  // 設定 k
  sjis += "<hr>\rtail\n";
  std::string ascii = "one\n<HR>\n";
  for (int k = 3; k <= 40; ++k) ascii += "line " + std::to_string(k) + " &amp;\n";
  ascii += "<hr>\ntail\n";
  struct Case {
    const char* name;
    int code;
    std::string bytes;
  };
  const Case cases[] = {
      {"Shift-JIS", 0, sjis},
      {"EUC-JP", 1, CCodeConvert::SjisToEuc(sjis)},
      {"JIS", 2, CCodeConvert::SjisToJis(sjis)},
      {"UTF-8", 4, CCodeConvert::SjisToUtf8(sjis)},
      {"UTF-16LE", 5, Utf16(ascii, false, true)},
      {"UTF-16BE without a mark", 6, Utf16(ascii, true, false)},
  };
  for (const Case& c : cases) {
    for (int range : {0, 2}) {
      for (int line : {3, 20, 40, 43}) {
        ViewerRequest request{c.code, range, line, 0, 5};
        const ViewerText all = MakeViewerText(c.bytes, request);
        request.partBefore = 4;
        request.partAfter = 6;
        const ViewerText part = MakeViewerText(c.bytes, request);
        const std::string where =
            std::string(c.name) + ", range " + std::to_string(range) + ", line " + std::to_string(line);
        ASSERT_TRUE(part.loaded) << where;
        const size_t at = all.text.find(part.text);
        ASSERT_NE(at, std::string::npos) << where;
        EXPECT_TRUE(at == 0 || all.text.compare(at - 2, 2, "\r\n") == 0) << where;
        int linesBefore = 0;
        for (size_t i = 0; i < at; ++i) linesBefore += all.text[i] == '\n';
        EXPECT_EQ(linesBefore + part.topLine, all.topLine) << where;
        EXPECT_LE(std::count(part.text.begin(), part.text.end(), '\n'), 10) << where;
      }
    }
  }
}

TEST(ViewerTextTest, TextEndsAtItsFirstZeroByteExceptUtf16) {
  EXPECT_EQ(MakeViewerText(std::string("a\nb\0c\n", 6), {0, 0, 1, 0, 5}).text, "a\r\nb");
  EXPECT_EQ(MakeViewerText(Utf16("a\nb", false, false), {5, 0, 1, 0, 5}).text, "a\r\nb");
}

TEST(ViewerTextTest, RangeOutsideZeroToTwoShowsNothing) {
  for (int range : {-1, 3}) EXPECT_FALSE(MakeViewerText("a\n", {0, range, 1, 0, 5}).loaded) << range;
}

TEST(ViewerLoadTest, FilesThatCannotBeShown) {
  TempTree tree;
  const std::string file = tree.File("a.txt", "1\n2\n3\n");
  EXPECT_EQ(LoadViewerText(file, {0, 1, 2, 0, 5}).text, "2\r\n3\r\n");
  // Vanished, a folder, a fifo and an unreadable file: nothing to show, and no wait on the fifo.
  EXPECT_FALSE(LoadViewerText(tree.Path("gone.txt"), {0, 1, 1, 0, 5}).loaded);
  EXPECT_FALSE(LoadViewerText(tree.Folder("dir"), {0, 1, 1, 0, 5}).loaded);
  ASSERT_EQ(mkfifo(tree.Path("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(LoadViewerText(tree.Path("fifo"), {0, 1, 1, 0, 5}).loaded);
  const std::string locked = tree.File("locked.txt", "x\n");
  chmod(locked.c_str(), 0);
  if (geteuid() != 0) {
    EXPECT_FALSE(LoadViewerText(locked, {0, 1, 1, 0, 5}).loaded);
  }
  // A file that shrank below the hit's line shows what it holds now: nothing of lines that are gone.
  tree.File("a.txt", "1\n");
  EXPECT_EQ(LoadViewerText(file, {0, 1, 2, 0, 5}).text, "");
  EXPECT_EQ(LoadViewerText(file, {0, 0, 2, 0, 5}).text, "1\r\n");
}

TEST(ViewerLoadTest, TenMegabyteLineIsCutWhole) {
  TempTree tree;
  const std::string longLine(10 << 20, 'x');
  const std::string file = tree.File("long.txt", "a\n" + longLine + "\nb\n");
  const ViewerText shown = LoadViewerText(file, {0, 1, 2, 0, 0});
  EXPECT_EQ(shown.text.size(), longLine.size() + 2);
  EXPECT_EQ(LoadViewerText(file, {0, 2, 3, 0, 0}).text.size(), longLine.size() + 8);
}

}  // namespace
