// The viewer pane offscreen: the hit's line scrolled to the top (wrapped lines counted), the colour of
// the characters at the computed ranges in several character codes and ranges, files that cannot be
// shown, the overrides, paging and the context menu.
#include "results/viewer_widget.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <set>

#include "matching/code_convert.h"
#include "platform/cp932.h"
#include "results/viewer_pane.h"
#include "search/found.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

const QColor kRed(255, 0, 0);

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer_.resize(400, 160);
    viewer_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer_));
  }

  // A hit on `line` of a file made in the tree with `bytes`, read in `code`.
  std::unique_ptr<FOUND_M> Hit(const std::string& relative, const std::string& bytes, int line,
                               int code = 0) {
    const std::string path = tree_.File(relative, bytes);
    return MakeTextHit(MakeHitFile(platform::Cp932FromUtf8(path), path), line, "", code);
  }

  // Shows the hit and waits until its text is in the pane.
  void ShowAndWait(const FOUND_M* hit, const std::string& pattern) {
    QSignalSpy shown(&viewer_, &CViewer::Shown);
    viewer_.Show(hit, pattern);
    if (shown.isEmpty()) {
      ASSERT_TRUE(shown.wait(20000));
    }
    ASSERT_FALSE(viewer_.Pending());
  }

  // The pane positions whose characters are red.
  std::set<int> RedPositions() const {
    std::set<int> red;
    for (QTextBlock b = viewer_.document()->begin(); b.isValid(); b = b.next()) {
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.charFormat().foreground().color() != kRed) continue;
        for (int p = f.position(); p < f.position() + f.length(); ++p) red.insert(p);
      }
    }
    return red;
  }

  // The positions of every occurrence of `shown` in the pane's text (case ignored when asked).
  std::set<int> Occurrences(const QString& shown, Qt::CaseSensitivity cs = Qt::CaseSensitive) const {
    std::set<int> at;
    const QString text = viewer_.document()->toPlainText();
    for (int i = text.indexOf(shown, 0, cs); i >= 0; i = text.indexOf(shown, i + shown.size(), cs)) {
      for (int k = 0; k < shown.size(); ++k) at.insert(i + k);
    }
    return at;
  }

  // The pane's text with every line end and every break between the parts of a long line a '\n'.
  QString PaneText() const { return viewer_.document()->toPlainText(); }
  // The line (from 1) that holds pane position `at`.
  int LineAt(int at) const { return static_cast<int>(PaneText().left(at).count('\n')) + 1; }
  // Where line `line` (from 1) begins in the pane.
  int LineStart(int line) const {
    const QString text = PaneText();
    int at = 0;
    for (int k = 1; k < line; ++k) at = static_cast<int>(text.indexOf('\n', at)) + 1;
    return at;
  }
  // The pane position at the top left of the pane.
  int TopPosition() const { return viewer_.cursorForPosition(QPoint(2, 2)).position(); }
  // The line at the top of the pane, and whether the top shows its beginning.
  int TopLine(bool* atLineStart = nullptr) const {
    const int top = TopPosition();
    if (atLineStart) *atLineStart = top == 0 || PaneText()[top - 1] == '\n';
    return LineAt(top);
  }

  TempTree tree_;
  CViewer viewer_;
};

TEST_F(ViewerTest, HitLineScrolledToTheTop) {
  std::string text;
  for (int k = 1; k <= 80; ++k) {
    // Every fifth line is long enough to wrap several times in the pane.
    text += "line " + std::to_string(k) + (k % 5 == 0 ? std::string(300, 'w') : "") + "\n";
  }
  struct Case {
    const char* name;
    int range, before, after, line;
    int topLine;     // shown line scrolled to the top
    int firstShown;  // file line of the first shown line
  };
  const Case cases[] = {
      {"whole file", 0, 0, 5, 47, 47, 1},
      {"lines, defaults", 1, 0, 60, 10, 1, 10},
      {"lines, three before", 1, 3, 60, 10, 4, 7},
      {"lines, before past line 1", 1, 3, 60, 2, 2, 1},
  };
  for (const Case& c : cases) {
    viewer_.Settings().ViewerRange = c.range;
    viewer_.Settings().ViewerMae = c.before;
    viewer_.Settings().ViewerAto = c.after;
    auto hit = Hit("lines.txt", text, c.line);
    ShowAndWait(hit.get(), "line");
    EXPECT_EQ(viewer_.TopLine(), c.topLine) << c.name;
    bool atStart = false;
    EXPECT_EQ(TopLine(&atStart), c.topLine) << c.name;
    EXPECT_TRUE(atStart) << c.name;
    EXPECT_TRUE(PaneText().startsWith(QString("line %1").arg(c.firstShown))) << c.name;
    EXPECT_EQ(LineAt(viewer_.textCursor().position()), c.topLine) << c.name;
  }
}

TEST_F(ViewerTest, PatternColouredInEveryCodeAndRange) {
  const std::string settei = "\x90\xdd\x92\xe8";  // 設定 in Shift-JIS
  const std::string sjis = "\x82\xa0" + settei + "x\r\n" + settei + settei + "\r\nabc ABC Abc\n";
  const std::string html = "<p>head</p>\n<HR>\n<b>&lt;b&gt; \x90\xdd\x92\xe8</b>\n<hr>\ntail &lt;b&gt;\n";
  auto utf16be = [](const std::string& text) {
    std::string out = "\xFE\xFF";
    for (char16_t u : platform::Utf16FromCp932(text))
      out += {static_cast<char>(u >> 8), static_cast<char>(u & 0xFF)};
    return out;
  };
  struct Case {
    const char* name;
    std::string bytes;
    int code, range, line;
    std::string pattern;
    bool ignoreCase;
    QString shown;  // what is coloured, as the pane shows it
    Qt::CaseSensitivity cs;
  };
  const Case cases[] = {
      {"Shift-JIS, whole file", sjis, 0, 0, 2, settei, false, "設定", Qt::CaseSensitive},
      {"UTF-16BE, lines", utf16be(sjis), 6, 1, 1, settei, false, "設定", Qt::CaseSensitive},
      {"EUC-JP, case ignored", CCodeConvert::SjisToEuc(sjis), 1, 0, 3, "abc", true, "abc",
       Qt::CaseInsensitive},
      {"HTML, <HR> range, entities", html, 0, 2, 3, "&lt;b&gt;", false, "<b>", Qt::CaseSensitive},
  };
  for (const Case& c : cases) {
    viewer_.Settings().ViewerRange = c.range;
    viewer_.SetSearchFlags(c.ignoreCase, false);
    auto hit = Hit("coloured.txt", c.bytes, c.line, c.code);
    ShowAndWait(hit.get(), c.pattern);
    const std::set<int> expected = Occurrences(c.shown, c.cs);
    EXPECT_FALSE(expected.empty()) << c.name;
    EXPECT_EQ(RedPositions(), expected) << c.name;
  }
  // The "<HR>" range shows only the hit's part, entities decoded.
  EXPECT_EQ(viewer_.document()->toPlainText(), QString("<b><b> 設定</b>\n"));
}

// Lines are coloured as they come into view: the hit's line at once, the start once scrolled to.
TEST_F(ViewerTest, BlocksScrolledIntoViewAreColoured) {
  std::string text;
  for (int k = 1; k <= 300; ++k) text += std::to_string(k) + " x\n";
  viewer_.Settings().ViewerRange = 0;
  auto hit = Hit("many.txt", text, 250);
  ShowAndWait(hit.get(), "x");
  // The x at the end of line `line`.
  auto redOnLine = [this](int line) { return RedPositions().count(LineStart(line + 1) - 2) == 1; };
  EXPECT_TRUE(redOnLine(250));
  viewer_.verticalScrollBar()->setValue(0);
  QCoreApplication::processEvents();
  EXPECT_TRUE(redOnLine(1));
  EXPECT_TRUE(redOnLine(4));
}

// A line of megabytes goes into the pane in parts (one paragraph of its own would hold the window for
// minutes): its text, colours and the scroll to the line after it stay right.
TEST_F(ViewerTest, VeryLongLineIsShownInParts) {
  std::string chunk = "aaaaaaaaax";
  std::string longLine;
  for (int k = 0; k < 10000; ++k) longLine += chunk;
  viewer_.Settings().ViewerRange = 0;
  const std::string after(40, '\n');  // so that the pane can scroll the line after it to the top
  auto hit = Hit("long.txt", "a\n" + longLine + "\nb x" + after, 3);
  ShowAndWait(hit.get(), "x");
  const QString text = viewer_.document()->toPlainText();
  int longest = 0;
  for (QTextBlock b = viewer_.document()->begin(); b.isValid(); b = b.next())
    longest = std::max(longest, b.length());
  // The line of 100,000 characters is in parts, none longer than a part after the lines before it.
  EXPECT_LE(longest, kParagraphCharacters + kLongestParagraph + 1);
  EXPECT_EQ(text.left(text.indexOf("b x")).remove('\n').toStdString(), "a" + longLine);
  EXPECT_TRUE(PaneText().mid(TopPosition()).startsWith("b x"));
  viewer_.verticalScrollBar()->setValue(0);
  QCoreApplication::processEvents();
  const std::set<int> red = RedPositions();
  EXPECT_EQ(red.count(11), 1u);  // the first x of the long line, in view now
  EXPECT_EQ(red.count(10), 0u);

  const std::string tenMegabytes(10 << 20, 'y');
  auto huge = Hit("huge.txt", "a\n" + tenMegabytes + "\nhit\n", 3);
  ShowAndWait(huge.get(), "hit");
  EXPECT_TRUE(PaneText().endsWith("\nhit\n"));
}

// Occurrences that end a part of a long line or begin the next are coloured on their own characters,
// not on the break between the parts; so is one of two-byte characters after a part of them.
TEST_F(ViewerTest, ColourAtTheEdgesOfAPart) {
  viewer_.Settings().ViewerRange = 0;
  const std::string part(4095, 'a');
  const std::string kanji = platform::Cp932FromUtf8("漢");
  std::string wide;
  for (int k = 0; k < 4096; ++k) wide += kanji;
  auto hit = Hit("edges.txt", part + "x" + "x" + part + "\n" + wide + "x\n", 1);
  ShowAndWait(hit.get(), "x");
  const QString text = viewer_.document()->toPlainText();
  ASSERT_EQ(text.left(4098), QString::fromStdString(part) + "x\nx");
  const int last = static_cast<int>(text.lastIndexOf('x'));
  ASSERT_EQ(text.mid(last - 2, 3), QString("\u6F22\nx"));
  // Each occurrence brought into view, so that its block is coloured.
  for (int at : {4095, 4097, last}) {
    QTextCursor cursor(viewer_.document());
    cursor.setPosition(at);
    viewer_.setTextCursor(cursor);
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(RedPositions(), Occurrences("x"));
}

TEST_F(ViewerTest, ColourIsTheSettingsColour) {
  viewer_.Settings().ViewerLookIro = 0xFF8000;  // blue 255, green 128, red 0
  auto hit = Hit("c.txt", "xyz\n", 1);
  ShowAndWait(hit.get(), "y");
  QTextCursor at(viewer_.document());
  at.setPosition(2);
  EXPECT_EQ(at.charFormat().foreground().color(), QColor(0, 128, 255));
}

// The text of a Show starts uncoloured whatever the last one coloured, also where the caret stood on a
// coloured character at the very start of the pane.
TEST_F(ViewerTest, ColourDoesNotCarryIntoTheNextFile) {
  viewer_.Settings().ViewerRange = 0;
  auto first = Hit("first.txt", "xx\nxx\n", 1);
  ShowAndWait(first.get(), "x");
  viewer_.moveCursor(QTextCursor::Right);  // after the first, coloured, character
  ASSERT_EQ(RedPositions(), (std::set<int>{0, 1, 3, 4}));
  auto second = Hit("second.txt", "xyz\nabc\n", 2);
  ShowAndWait(second.get(), "q");
  EXPECT_TRUE(RedPositions().empty());
  EXPECT_EQ(viewer_.document()->toPlainText(), QString("xyz\nabc\n"));
}

TEST_F(ViewerTest, RegularExpressionsIncludingEmptyMatches) {
  viewer_.Settings().ViewerRange = 0;
  viewer_.SetSearchFlags(false, true);
  auto hit = Hit("r.txt", "ab12 cd345\n" + std::string(100000, 'z') + "\n", 1);
  ShowAndWait(hit.get(), "[0-9]+");
  EXPECT_EQ(RedPositions(), (std::set<int>{2, 3, 7, 8, 9}));
  ShowAndWait(hit.get(), "q*");  // matches the empty string at every position
  EXPECT_TRUE(RedPositions().empty());
  EXPECT_EQ(viewer_.document()->toPlainText().count('z'), 100000);
}

TEST_F(ViewerTest, HitsThatCannotBeShownLeaveThePaneEmpty) {
  auto shown = Hit("ok.txt", "shown\n", 1);
  auto gone = Hit("gone.txt", "x\n", 1);
  std::remove(gone->NativePath().c_str());
  auto folder = Hit("dir/f.txt", "x\n", 1);
  auto sub = Hit("dir/sub/f.txt", "sub\n", 1);
  auto byPath = Hit("p.txt", "x\n", 1);
  auto record = Hit("r.txt", "x\n", 1);
  record->kind = 2;
  viewer_.Settings().FixMap = {{folder->Folder(), VIEWER_NONE}, {byPath->Folder() + "/p.txt", VIEWER_NONE}};
  for (const FOUND_M* hit : {gone.get(), folder.get(), byPath.get(), record.get()}) {
    ShowAndWait(shown.get(), "s");
    ASSERT_FALSE(viewer_.document()->isEmpty());
    ShowAndWait(hit, "x");
    EXPECT_TRUE(viewer_.document()->isEmpty()) << hit->FileName();
    EXPECT_TRUE(viewer_.ShownText().empty());
  }
  // The folder's override does not reach its subfolders; a missing record changes nothing.
  ShowAndWait(sub.get(), "sub");
  EXPECT_EQ(viewer_.document()->toPlainText(), "sub\n");
  viewer_.Show(nullptr, "sub");
  EXPECT_EQ(viewer_.document()->toPlainText(), "sub\n");
  viewer_.Settings().ViewerRangeView = false;
  ShowAndWait(sub.get(), "sub");
  EXPECT_TRUE(viewer_.document()->isEmpty());
}

// Shows asked for while one is prepared: only the newest reaches the pane.
TEST_F(ViewerTest, OnlyTheNewestShowReachesThePane) {
  viewer_.Settings().ViewerRange = 0;
  std::string big;
  for (int k = 0; k < 100000; ++k) big += "first file line x\n";
  auto first = Hit("first.txt", big, 1);
  auto second = Hit("second.txt", "second\n", 1);
  QSignalSpy shown(&viewer_, &CViewer::Shown);
  viewer_.Show(first.get(), "x");
  viewer_.Show(second.get(), "x");
  ASSERT_TRUE(shown.wait(20000));
  QTest::qWait(300);
  EXPECT_EQ(shown.count(), 1);
  EXPECT_EQ(viewer_.document()->toPlainText(), QString("second\n"));
  // Emptied while a Show is prepared: the pane stays empty.
  viewer_.Show(first.get(), "x");
  viewer_.Clear();
  QTest::qWait(300);
  EXPECT_EQ(shown.count(), 1);
  EXPECT_TRUE(viewer_.document()->isEmpty());
  EXPECT_FALSE(viewer_.Pending());
}

// A further hit of the whole file in the pane scrolls at once without reading it again; once the file
// has changed, it is read again.
TEST_F(ViewerTest, AnotherHitOfTheWholeFileOnlyScrolls) {
  viewer_.Settings().ViewerRange = 0;
  std::string text;
  for (int k = 1; k <= 100; ++k) text += "line " + std::to_string(k) + "\n";
  auto early = Hit("w.txt", text, 5);
  auto late = MakeTextHit(MakeHitFile(early->Folder() + "/w.txt", early->NativePath()), 60, "", 0);
  ShowAndWait(early.get(), "line");
  const QTextDocument* read = viewer_.document();
  ASSERT_EQ(TopLine(), 5);
  QSignalSpy shown(&viewer_, &CViewer::Shown);
  viewer_.Show(late.get(), "line");
  EXPECT_EQ(shown.count(), 1);
  EXPECT_EQ(viewer_.document(), read);
  EXPECT_EQ(TopLine(), 60);
  EXPECT_EQ(viewer_.TopLine(), 60);

  tree_.File("w.txt", "changed\n" + text);
  ShowAndWait(early.get(), "line");
  EXPECT_TRUE(viewer_.document()->toPlainText().startsWith("changed\n"));
  EXPECT_EQ(TopLine(), 5);
}

// A large file shows the lines around the hit first; the whole follows, and a user who scrolled or
// selected in the first part keeps the place.
TEST_F(ViewerTest, ALargeFileComesFirstInPartAndTheWholeKeepsThePlace) {
  viewer_.Settings().ViewerRange = 0;
  std::string text;
  for (int k = 1; k <= 60000; ++k) text += "line " + std::to_string(k) + " of the large file\n";
  auto hit = Hit("large.txt", text, 30000);
  for (bool move : {false, true}) {
    viewer_.Clear();  // else the second Show of the whole file only scrolls
    QSignalSpy part(&viewer_, &CViewer::PartShown);
    QSignalSpy shown(&viewer_, &CViewer::Shown);
    viewer_.Show(hit.get(), "large");
    ASSERT_TRUE(part.wait(20000));
    ASSERT_TRUE(viewer_.Pending());
    EXPECT_TRUE(PaneText().mid(TopPosition()).startsWith("line 30000 "));
    EXPECT_LT(PaneText().size(), 400000);
    EXPECT_TRUE(RedPositions().count(TopPosition() + 18) == 1);  // "large" in the top line
    if (move) {
      viewer_.verticalScrollBar()->setValue(viewer_.verticalScrollBar()->value() + 3);
      QTextCursor select(viewer_.document());
      select.setPosition(TopPosition());
      select.setPosition(TopPosition() + 4, QTextCursor::KeepAnchor);
      viewer_.setTextCursor(select);
    }
    const QString topText = PaneText().mid(TopPosition(), 11);
    ASSERT_TRUE(shown.count() == 1 || shown.wait(20000));
    EXPECT_FALSE(viewer_.Pending());
    EXPECT_EQ(PaneText().count('\n'), 60000);
    EXPECT_EQ(PaneText().mid(TopPosition(), 11), topText) << move;
    EXPECT_EQ(viewer_.textCursor().selectedText(), move ? QString("line") : QString()) << move;
    EXPECT_EQ(viewer_.TopLine(), 30000);
  }
}

TEST_F(ViewerTest, SpacePagesDownAndShiftSpaceUp) {
  std::string text;
  for (int k = 1; k <= 200; ++k) text += "line\n";
  viewer_.Settings().ViewerRange = 0;
  auto hit = Hit("p.txt", text, 1);
  ShowAndWait(hit.get(), "x");
  QScrollBar* bar = viewer_.verticalScrollBar();
  ASSERT_EQ(bar->value(), 0);
  viewer_.Page(false);
  const int onePage = bar->value();
  ASSERT_GT(onePage, 0);
  bar->setValue(0);
  QTest::keyClick(&viewer_, Qt::Key_Space);
  EXPECT_EQ(bar->value(), onePage);
  QTest::keyClick(&viewer_, Qt::Key_Space);
  EXPECT_GT(bar->value(), onePage);
  QTest::keyClick(&viewer_, Qt::Key_Space, Qt::ShiftModifier);
  EXPECT_EQ(bar->value(), onePage);
  EXPECT_EQ(viewer_.document()->toPlainText().size(), 1000);  // nothing typed into the pane
}

TEST_F(ViewerTest, ContextMenuOffersOpenOnlyForFileAndHttpLinks) {
  struct Case {
    const char* text;
    bool open;
  };
  const Case cases[] = {{"http://example.org/ x", true},
                        {"FILE:///tmp x", true},
                        {"https://a x", false},
                        {"ftp://a x", false},
                        {"http:/ x", false}};
  for (const Case& c : cases) {
    viewer_.setPlainText(c.text);
    QTextCursor select(viewer_.document());
    select.setPosition(0);
    select.setPosition(static_cast<int>(std::string(c.text).find(' ')), QTextCursor::KeepAnchor);
    viewer_.setTextCursor(select);
    std::unique_ptr<QMenu> menu = viewer_.BuildContextMenu();
    std::vector<int> commands;
    for (QAction* a : menu->actions()) commands.push_back(a->data().toInt());
    const std::vector<int> expected =
        c.open ? std::vector<int>{kViewerMenuCopy, kViewerMenuOpen} : std::vector<int>{kViewerMenuCopy};
    EXPECT_EQ(commands, expected) << c.text;
    EXPECT_TRUE(menu->actions().front()->isEnabled());
  }
  viewer_.setTextCursor(QTextCursor(viewer_.document()));
  EXPECT_FALSE(viewer_.BuildContextMenu()->actions().front()->isEnabled());

  // Lines that share a paragraph of the pane are copied with their line ends.
  auto hit = Hit("copy.txt", "ab\ncd\n", 1);
  ShowAndWait(hit.get(), "x");
  viewer_.selectAll();
  viewer_.MenuCommand(kViewerMenuCopy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("ab\ncd\n"));
}

}  // namespace
