#include "app/ext_collect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

DroppedEntry File(const char* name) {
  return {name, true, false};
}

// The pieces of an extension text; the no-extension entry is the empty piece.
std::multiset<std::string> Pieces(const std::string& text) {
  std::multiset<std::string> pieces;
  size_t start = 0;
  std::string rest = text;
  if (!rest.empty() && rest.back() == ';') rest.pop_back();
  for (size_t semicolon = rest.find(';'); ; semicolon = rest.find(';', start)) {
    pieces.insert(rest.substr(start, semicolon - start));
    if (semicolon == std::string::npos) break;
    start = semicolon + 1;
  }
  return pieces;
}

TEST(ExtCollect, DroppedFilesGiveEachExtensionOnce) {
  struct Case {
    const char* name;
    std::string current;
    bool shift;
    std::vector<DroppedEntry> dropped;
    std::multiset<std::string> pieces;  // empty: the box is left as it was
  };
  const Case cases[] = {
      {"files and a folder", "", false, {File("a.TXT"), File("b.txt"), {"docs", true, true}}, {"txt"}},
      {"a file without extension", "", false, {File("a.TXT"), File("c")}, {"txt", ""}},
      {"missing, dot entries and folders only", "old", false,
       {{"gone.txt", false, false}, File("."), File(".."), {"d.x", true, true}}, {}},
      {"without Shift the list is replaced", "*.HTML;htm", false, {File("x.txt")}, {"txt"}},
      {"with Shift the list is kept", "*.HTML;htm", true, {File("x.txt")}, {"html", "htm", "txt"}},
      {"a leading blank stays, a trailing one goes", " htm ;txt", true, {File("y.TXT")}, {" htm", "txt"}},
      {"an empty piece is no extension", "txt;;", true, {}, {"txt", ""}},
      {"the last dot decides", "", false, {File("archive.tar.GZ"), File(".bashrc")}, {"gz", "bashrc"}},
      // a.ア keeps its trail byte 0x41 ("A"); b.Ａ folds to ａ as the filter folds it.
      {"double-byte extensions", "", false, {File("a.\x83\x41"), File("b.\x82\x60")}, {"\x83\x41", "\x82\x81"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = CollectExtensions(c.current, c.shift, c.dropped);
    if (c.pieces.empty()) {
      EXPECT_EQ(text, "");
    } else {
      EXPECT_EQ(Pieces(text), c.pieces) << text;
    }
  }
}

TEST(ExtCollect, TheNoExtensionEntryIsAlwaysFollowedByASemicolon) {
  EXPECT_EQ(CollectExtensions("", false, {File("a.txt"), File("c")}), "txt;;");
  EXPECT_EQ(CollectExtensions("", false, {File("c"), File("a.txt")}), ";txt");
  EXPECT_EQ(CollectExtensions("", false, {File("c")}), ";");
}

TEST(ExtCollect, OverlongKeptPiecesAreDropped) {
  const std::string longPiece(300, 'x');
  EXPECT_EQ(CollectExtensions(longPiece + ";htm", true, {}), "htm");
}

}  // namespace
