#include "app/history_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Items = std::vector<HistoryItem>;

const HistoryItem kPlaceholder{"", HistoryList::kPlaceholderData};

// A list holding `items` (a placeholder item stands for itself) with `selected` selected.
HistoryList Make(HistoryKind kind, const Items& items, int selected = -1) {
  HistoryList list(kind);
  for (const HistoryItem& item : items) {
    if (item.text.empty() && (item.data == HistoryList::kPlaceholderData || kind == HistoryKind::Location)) {
      list.AddPlaceholderIfEmpty();
    } else {
      list.AppendIfAbsent(item.text);
    }
  }
  EXPECT_EQ(list.Items(), items);
  list.Select(selected);
  return list;
}

struct Case {
  const char* name;
  HistoryKind kind;
  Items before;
  int selectedBefore;
  std::string text;
  Items after;
  int selectedAfter;
};

TEST(HistoryList, PushFront) {
  const auto L = HistoryKind::Location, P = HistoryKind::Pattern, E = HistoryKind::Extension;
  Case cases[] = {
      {"location replaces the lone placeholder", L, {{""}}, -1, "/a", {{"/a"}}, 0},
      {"location ignores an empty text", L, {{"/a"}, {"/b"}}, 1, "", {{"/a"}, {"/b"}}, 1},
      {"location moves an entry equal without case", L, {{"/x"}, {"/ABC"}}, 0, "/abc", {{"/abc"}, {"/x"}}, 0},
      {"location folds full-width letters", L, {{"\x82\x60"}}, -1, "\x82\x81", {{"\x82\x81"}}, 0},
      // 0x83 0x41 and 0x83 0x61 are two different katakana, not "A" and "a".
      {"location keeps double-byte characters apart",
       L,
       {{"\x83\x41"}},
       -1,
       "\x83\x61",
       {{"\x83\x61"}, {"\x83\x41"}},
       0},
      {"pattern replaces its placeholder", P, {kPlaceholder}, -1, "abc", {{"abc"}}, 0},
      {"pattern takes an empty text as an entry", P, {kPlaceholder}, -1, "", {{""}}, 0},
      {"pattern keeps a real empty entry", P, {{""}}, 0, "a", {{"a"}, {""}}, 0},
      {"pattern compares with case", P, {{"abc"}, {"x"}}, 1, "ABC", {{"ABC"}, {"abc"}, {"x"}}, 0},
      {"pattern moves an exact duplicate", P, {{"x"}, {"abc"}}, 0, "abc", {{"abc"}, {"x"}}, 0},
      {"extension compares without case", E, {{"c"}, {"TXT;htm"}}, -1, "txt;HTM", {{"txt;HTM"}, {"c"}}, 0},
      {"extension ignores an empty text", E, {{"c"}}, 0, "", {{"c"}}, 0},
      {"a NUL is never folded away",
       L,
       {{"/a"}},
       -1,
       std::string("/a\0b", 4),
       {{std::string("/a\0b", 4)}, {"/a"}},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HistoryList list = Make(c.kind, c.before, c.selectedBefore);
    list.PushFront(c.text);
    EXPECT_EQ(list.Items(), c.after);
    EXPECT_EQ(list.Selected(), c.selectedAfter);
  }
}

TEST(HistoryList, AppendIfAbsentSkipsDuplicatesAndKeepsTheSelection) {
  const auto L = HistoryKind::Location, P = HistoryKind::Pattern, E = HistoryKind::Extension;
  Case cases[] = {
      {"location replaces the lone placeholder", L, {{""}}, -1, "/a", {{"/a"}}, -1},
      {"location skips an equal entry", L, {{"/a"}, {"/b"}}, 1, "/A", {{"/a"}, {"/b"}}, 1},
      {"location ignores an empty text", L, {{"/a"}}, 0, "", {{"/a"}}, 0},
      {"location appends at the end", L, {{"/a"}}, 0, "/b", {{"/a"}, {"/b"}}, 0},
      {"pattern replaces its placeholder with an empty entry", P, {kPlaceholder}, -1, "", {{""}}, -1},
      {"pattern keeps texts of other case", P, {{"a"}}, 0, "A", {{"a"}, {"A"}}, 0},
      {"pattern skips an exact duplicate", P, {{"a"}, {""}}, 1, "", {{"a"}, {""}}, 1},
      {"extension skips an equal entry", E, {{"txt"}}, 0, "TXT", {{"txt"}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HistoryList list = Make(c.kind, c.before, c.selectedBefore);
    list.AppendIfAbsent(c.text);
    EXPECT_EQ(list.Items(), c.after);
    EXPECT_EQ(list.Selected(), c.selectedAfter);
  }
}

TEST(HistoryList, PlaceholderOnlyWhenTheListIsEmpty) {
  HistoryList pattern(HistoryKind::Pattern);
  pattern.AddPlaceholderIfEmpty();
  EXPECT_EQ(pattern.Items(), Items{kPlaceholder});
  EXPECT_TRUE(pattern.RemoveLonePlaceholder());
  EXPECT_EQ(pattern.Count(), 0u);

  // A real empty search string is no placeholder and is saved like any entry.
  pattern.PushFront("");
  EXPECT_FALSE(pattern.RemoveLonePlaceholder());
  EXPECT_EQ(pattern.Count(), 1u);
  pattern.AddPlaceholderIfEmpty();
  EXPECT_EQ(pattern.Count(), 1u);

  HistoryList location(HistoryKind::Location);
  location.AddPlaceholderIfEmpty();
  EXPECT_EQ(location.Items(), Items{{""}});
  EXPECT_TRUE(location.RemoveLonePlaceholder());

  HistoryList extension(HistoryKind::Extension);
  extension.AddPlaceholderIfEmpty();
  EXPECT_EQ(extension.Count(), 0u);
}

TEST(HistoryList, SelectionFollowsTheItems) {
  HistoryList list = Make(HistoryKind::Location, {{"/a"}, {"/b"}, {"/c"}}, 2);
  EXPECT_EQ(list.SelectedText(), "/c");
  list.PushFront("/b");  // an item before the selected one goes away and one arrives in front
  EXPECT_EQ(list.Texts(), (std::vector<std::string>{"/b", "/a", "/c"}));
  EXPECT_EQ(list.SelectedText(), "/b");
  list.Select(3);
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.SelectedText(), "");
  list.Select(1);
  list.Clear();
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
