#include "results/editor_command.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "search/found.h"

namespace {

HitTarget Hit(const std::string& path, int line) {
  HitTarget hit;
  hit.path = path;
  hit.folder = path.substr(0, path.rfind('/'));
  hit.name = path.substr(path.rfind('/') + 1);
  hit.line = line;
  return hit;
}

TEST(ExpandEditorParam, EveryMarkerRule) {
  const HitTarget text = Hit("/a b/x.txt", 7);
  const HitTarget fileRow = Hit("/a b/x.txt", 1);
  struct Case {
    const char* name;
    const char* templ;
    HitTarget hit;
    std::string expected;
  } cases[] = {
      {"default template", "&F /&L", text, "\"/a b/x.txt\" /7"},
      {"default template, line 12", "&F /&L", Hit("/work/a.txt", 12), "\"/work/a.txt\" /12"},
      {"folder and name", "&D|&N", text, "\"/a b\"|\"x.txt\""},
      {"file-list row: the line is 1", "&N:&L", fileRow, "\"x.txt\":1"},
      {"&& is one &, and the next character starts no marker", "&&L", text, "&L"},
      {"&&F", "&&F", text, "&F"},
      {"& before a pair", "&&&F", text, "&\"/a b/x.txt\""},
      {"two pairs", "a&&&&b", text, "a&&b"},
      {"a pair at the end", "x&&", text, "x&"},
      {"a lone & at the end", "x&", text, "x&"},
      {"markers are case-sensitive", "&f &d &n &l", text, "&f &d &n &l"},
      {"?F, ?D and ?N count as markers", "?F ?D ?N", text, "\"/a b/x.txt\" \"/a b\" \"x.txt\""},
      {"?L is no marker", "?L", text, "?L"},
      {"a marker twice", "&L&L", text, "77"},
      {"a ? before a marker", "?&F", text, "?\"/a b/x.txt\""},
      {"an & before ?F", "&?F", text, "&\"/a b/x.txt\""},
      {"no markers", "--new-window", text, "--new-window"},
      {"empty template", "", text, ""},
      // A name may hold "?D" or "&N" on this system; a value is never read again for markers.
      {"values are not expanded again", "&F &N", Hit("/p?D/a&N?N.txt", 3),
       "\"/p?D/a&N?N.txt\" \"a&N?N.txt\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EditorParameters expanded = ExpandEditorParam(c.templ, c.hit);
    EXPECT_EQ(expanded.text, c.expected);
    EXPECT_EQ(expanded.fromValue.size(), expanded.text.size());
  }
}

TEST(SplitParameters, DoubleQuotesGroupAndValuesStayWhole) {
  struct Case {
    const char* name;
    const char* templ;
    std::string path;
    std::vector<std::string> arguments;
  } cases[] = {
      {"default template", "&F /&L", "/a b/x.txt", {"/a b/x.txt", "/7"}},
      {"marker inside an argument", "--goto &F:&L", "/a b/x.txt", {"--goto", "/a b/x.txt:7"}},
      {"quotes around a marker", "\"&F\"", "/a b/x.txt", {"/a b/x.txt"}},
      {"quotes in the template group", "\"two words\" +&L", "/x", {"two words", "+7"}},
      {"blanks and tabs separate, repeated or not", "  a \t b  ", "/x", {"a", "b"}},
      {"an empty pair is an empty argument", "\"\" &N", "/x", {"", "x"}},
      {"an unclosed quote groups to the end", "\"a b &L", "/x", {"a b 7"}},
      {"backslash and single quote are ordinary", "a\\ 'b c'", "/x", {"a\\", "'b", "c'"}},
      // A path may hold a double quote on this system: it stays part of the path.
      {"a quote in the path", "&F /&L", "/tmp/say \"hi\".txt", {"/tmp/say \"hi\".txt", "/7"}},
      {"repeated blanks inside a path", "x&Lx &F", "/a  b", {"x7x", "/a  b"}},
      {"nothing", "", "/x", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitParameters(ExpandEditorParam(c.templ, Hit(c.path, 7))), c.arguments);
  }
}

TEST(ChooseEditor, TheDefaultIsReplacedOnlyWhenItIsMissing) {
  struct Case {
    const char* name;
    std::string file;
    std::string param;
    std::set<std::string> installed;
    std::string program;
    std::string usedParam;
    bool byAssociation;
  } cases[] = {
      {"the default where it exists",
       "Notepad.exe",
       "&F /&L",
       {"Notepad.exe", "gedit"},
       "Notepad.exe",
       "&F /&L",
       false},
      {"the first installed editor with its line syntax",
       "Notepad.exe",
       "&F /&L",
       {"kate", "code"},
       "kate",
       "--line &L &F",
       false},
      {"the table's order decides", "Notepad.exe", "&F /&L", {"code", "gedit"}, "gedit", "+&L &F", false},
      {"a template the user set stays", "Notepad.exe", "+&L &F", {"kate"}, "kate", "+&L &F", false},
      {"no editor: by association", "Notepad.exe", "&F /&L", {}, "", "", true},
      {"a program the user set is used even when missing",
       "vim",
       "+&L &F",
       {"gedit"},
       "vim",
       "+&L &F",
       false},
      {"another spelling of the default is the user's",
       "notepad.exe",
       "&F /&L",
       {"gedit"},
       "notepad.exe",
       "&F /&L",
       false},
      {"an empty program is the user's too", "", "&F", {"gedit"}, "", "&F", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EditorChoice choice = ChooseEditor(
        c.file, c.param, [&](const std::string& program) { return c.installed.count(program) > 0; });
    EXPECT_EQ(choice.program, c.program);
    EXPECT_EQ(choice.param, c.usedParam);
    EXPECT_EQ(choice.byAssociation, c.byAssociation);
  }
}

TEST(TargetOf, NativePathPiecesAndLine) {
  // The native name is one code page 932 cannot spell; the record's code page 932 texts are not used.
  FOUND_M text;
  text.file = MakeHitFile("/d/?.txt", "/d/\xED\x95\x9C.txt");
  text.lineNumber = 42;
  HitTarget t = TargetOf(text);
  EXPECT_EQ(t.path, "/d/\xED\x95\x9C.txt");
  EXPECT_EQ(t.folder, "/d");
  EXPECT_EQ(t.name, "\xED\x95\x9C.txt");
  EXPECT_EQ(t.line, 42);

  FOUND_F root;
  root.kind = 4;
  root.name = "home";
  root.folder = "/";
  root.nativePath = "/home";
  t = TargetOf(root);
  EXPECT_EQ(t.path, "/home");
  EXPECT_EQ(t.folder, "/");
  EXPECT_EQ(t.name, "home");
  EXPECT_EQ(t.line, 1);
}

}  // namespace
