// Stopping a text search while its files are scanned: the stop ends the scan of the file at hand, and the
// search ends as a stopped search (no end notification), however far the walk had come.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "search/search.h"
#include "search/search_request.h"
#include "testkit/collect_notify.h"
#include "testkit/temp_tree.h"

namespace {

// A front end that asks the search to stop the moment the first text hit arrives.
class StopAtFirstHit : public CollectNotify {
 public:
  explicit StopAtFirstHit(SearchShared& shared) : CollectNotify(shared), shared_(shared) {}
  void Post(Notification n) override {
    const bool hit = n.msg == kMsgTextHit;
    CollectNotify::Post(std::move(n));
    if (hit) shared_.stop.Set();
  }

 private:
  SearchShared& shared_;
};

// Regression: a stop seen only by the scanning thread (the walk already over) was turned into a normal
// end: the end notification came with 0, and the scan of the file at hand went on to its end.
TEST(StopTest, AStopDuringTheScanIsAStopNotAnEnd) {
  TempTree tree;
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += "key " + std::to_string(i) + "\n";
  tree.File("sjis.txt", lines);
  tree.File("utf8.txt", "\xE6\x97\xA5\xE6\x9C\xAC " + lines);  // 日本 makes it UTF-8 to the detection
  struct Case {
    const char* name;
    const char* file;
    bool ignoreCase;
    bool regex;
  } cases[] = {
      {"plain string", "sjis.txt", false, false},
      {"plain string, case ignored", "sjis.txt", true, false},
      {"plain string in a UTF-8 file", "utf8.txt", false, false},
      {"regular expression", "sjis.txt", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchShared shared;
    StopAtFirstHit notify(shared);
    SearchConditions conditions;
    conditions.SearchMoji = true;
    conditions.MojiAll = true;
    conditions.LetterClassify = c.ignoreCase;
    conditions.BregFlag = c.regex;
    conditions.PatternText = c.regex ? "k.y" : "key";
    // A location naming one file: the walk is over as soon as the file is queued.
    conditions.Locations = {tree.Path(c.file)};
    EXPECT_EQ(SearchThreadProc(BuildSearchRequest(conditions, notify, shared, 0)), 1);
    EXPECT_TRUE(notify.ends.empty());
    EXPECT_EQ(notify.textHits.size(), 1u);
  }
}

}  // namespace
