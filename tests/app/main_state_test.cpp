#include "app/main_state.h"

#include <gtest/gtest.h>

namespace {

struct Kinds {
  bool text, file, folder;
  bool operator==(const Kinds&) const = default;
};

Kinds KindsOf(const SearchConditions& c) {
  return {c.SearchMoji, c.SearchFile, c.SearchFolder};
}

TEST(KindSwitches, TextNeverRunsWithANameSearch) {
  struct Case {
    const char* name;
    Kinds before;
    SearchKind clicked;
    Kinds after;
  };
  const Case cases[] = {
      {"file on turns text off", {true, false, false}, SearchKind::File, {false, true, false}},
      {"folder on keeps file on", {false, true, false}, SearchKind::Folder, {false, true, true}},
      {"text on turns both names off", {false, true, true}, SearchKind::Text, {true, false, false}},
      {"text off leaves all off", {true, false, false}, SearchKind::Text, {false, false, false}},
      {"file off keeps folder", {false, true, true}, SearchKind::File, {false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions;
    conditions.SearchMoji = c.before.text;
    conditions.SearchFile = c.before.file;
    conditions.SearchFolder = c.before.folder;
    ToggleKind(conditions, c.clicked);
    EXPECT_EQ(KindsOf(conditions), c.after);
  }
}

TEST(StatusIndicators, ShownOnlyWhileIdleAndForTheKindsTheyConcern) {
  using Shown = std::array<bool, kIndicatorCount>;  // code, size, date, attributes
  struct Case {
    const char* name;
    Kinds kinds;
    int timeFilter, sizeKind, attrHidden, convertFlag;
    bool searching;
    Shown shown;
  };
  const Case cases[] = {
      {"nothing set", {true, false, false}, 0, 0, 0, 3, false, {false, false, false, false}},
      {"all filters, text, fixed code", {true, false, false}, 1, 3, 2, 0, false, {true, true, true, true}},
      {"during a search none", {true, false, false}, 1, 3, 2, 0, true, {false, false, false, false}},
      {"folder search alone hides size", {false, false, true}, 1, 1, 0, 0, false, {false, false, true, false}},
      {"file search shows size, no code", {false, true, false}, 0, 2, 0, 1, false, {false, true, false, false}},
      {"no kind on: filters hidden", {false, false, false}, 1, 1, 1, 0, false, {false, false, false, false}},
      {"EUC shows its code", {true, false, false}, 0, 0, 0, 1, false, {true, false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions;
    conditions.SearchMoji = c.kinds.text;
    conditions.SearchFile = c.kinds.file;
    conditions.SearchFolder = c.kinds.folder;
    conditions.TimeFilter = c.timeFilter;
    conditions.SizeKind = c.sizeKind;
    conditions.AttrHidden = c.attrHidden;
    conditions.ConvertFlag = c.convertFlag;
    EXPECT_EQ(VisibleIndicators(conditions, c.searching), c.shown);
  }
  EXPECT_STREQ(CodeIndicatorText(0), "SJIS");
  EXPECT_STREQ(CodeIndicatorText(2), "JIS");
  EXPECT_STREQ(CodeIndicatorText(3), "");
}

}  // namespace
