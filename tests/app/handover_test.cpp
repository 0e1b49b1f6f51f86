#include "app/handover.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/history_list.h"
#include "cmdline/apply_command_line.h"
#include "platform/cp932.h"
#include "testkit/temp_tree.h"

namespace {

using Args = std::vector<std::string>;

constexpr int64_t kNow = 1700000000;

// What the running instance does with a received text: the top location afterwards and whether a
// search would start.
struct Applied {
  std::string topLocation;
  std::string topPattern;
  bool searchStarts = false;
  SearchConditions conditions;
};

Applied Apply(const std::string& text) {
  Applied applied;
  HistoryList locations(HistoryKind::Location);
  HistoryList patterns(HistoryKind::Pattern);
  applied.searchStarts = ApplyCommandLine(text, applied.conditions, locations, patterns, kNow).startSearch;
  applied.topLocation = locations.Count() > 0 ? locations.Texts()[0] : "";
  applied.topPattern = patterns.Count() > 0 ? patterns.Texts()[0] : "";
  return applied;
}

TEST(HandOver, SingleLocationArgument) {
  TempTree tree;
  const std::string folder = tree.Folder("docs");
  const std::string dashed = tree.Folder("my-dir");
  const std::string blank = tree.Folder("two words & more");
  struct Case {
    const char* name;
    std::string arg;
    std::string workingFolder;
    std::string location;  // the long path that must arrive; empty when none
  };
  Case cases[] = {
      {"an existing folder", folder, "/", folder},
      {"a folder relative to the new start's working folder", "docs", tree.Root(), folder},
      {"a relative path with dots", "./docs/../docs/", tree.Root(), folder + "/"},
      {"a folder with a dash is not split into options", dashed, "/", dashed},
      {"blanks and an ampersand survive", blank, "/", blank},
      {"a missing folder sends the empty text", tree.Path("missing"), "/", ""},
      {"an empty argument sends the empty text", "", tree.Root(), ""},
  };
  for (const Case& c : cases) {
    HandOver handOver = BuildHandOver({c.arg}, c.workingFolder);
    EXPECT_EQ(handOver.nativeLocation, c.location) << c.name;
    EXPECT_EQ(handOver.nativeArgs, Args{c.arg}) << c.name;
    EXPECT_EQ(handOver.workingFolder, c.workingFolder) << c.name;
    if (c.location.empty()) {
      EXPECT_EQ(handOver.text, "") << c.name;
      continue;
    }
    EXPECT_EQ(handOver.text.substr(0, 2), "-b") << c.name;
    Applied applied = Apply(handOver.text);
    EXPECT_EQ(applied.topLocation, c.location) << c.name;
    EXPECT_FALSE(applied.searchStarts) << c.name;
    EXPECT_TRUE(applied.conditions.SearchMoji && !applied.conditions.SearchFolder)
        << c.name << ": no kind set";
  }
}

TEST(HandOver, LocationCodePage932CannotSpellTravelsNatively) {
  TempTree tree;
  // U+1F600 and U+00E9 have no code-page-932 form.
  const std::string folder = tree.Folder("\xF0\x9F\x98\x80 caf\xC3\xA9");
  ASSERT_FALSE(platform::Cp932CanHold(folder));
  HandOver handOver = BuildHandOver({folder}, "/");
  EXPECT_EQ(handOver.nativeLocation, folder);
  EXPECT_EQ(handOver.text, "") << "a text with \"?\" in its place would name another entry";
  std::optional<HandOver> received = DecodeHandOver(EncodeHandOver(handOver));
  ASSERT_TRUE(received);
  EXPECT_EQ(received->nativeLocation, folder);
}

TEST(HandOver, OptionArguments) {
  TempTree tree;
  const std::string sub = tree.Folder("sub");
  const std::string spaced = tree.Folder("my dir");
  struct Case {
    const char* name;
    Args args;
    std::string location;  // top location after applying; empty for none
    std::string pattern;
    bool searchStarts;
  };
  Case cases[] = {
      {"absolute location, pattern, text, go", {"-b" + sub, "-mkeyword", "-tg"}, sub, "keyword", true},
      {"a relative location is taken in the new start's folder",
       {"-bsub", "-mkeyword", "-tg"},
       sub,
       "keyword",
       true},
      {"a location in the argument after -b", {"-b", "sub", "-mx", "-fg"}, sub, "x", true},
      {"a location with a blank over two arguments", {"-bmy", "dir", "-mx", "-tg"}, spaced, "x", true},
      {"a single argument beginning with - is options", {"-mfoo"}, "", "foo", false},
      {"a pattern with a dash stays whole", {"-ma-b", "-b" + sub}, sub, "a-b", false},
      {"a missing relative location does not start a search",
       {"-bnone", "-mx", "-tg"},
       tree.Path("none"),
       "x",
       false},
      {"a Japanese pattern arrives in code page 932",
       {"-m\xE6\x97\xA5\xE6\x9C\xAC", "-b" + sub},
       sub,
       "\x93\xfa\x96\x7b",
       false},
  };
  for (const Case& c : cases) {
    HandOver handOver = BuildHandOver(c.args, tree.Root());
    EXPECT_EQ(handOver.nativeLocation, "") << c.name;
    EXPECT_EQ(handOver.nativeArgs, c.args) << c.name;
    Applied applied = Apply(handOver.text);
    EXPECT_EQ(applied.topLocation, c.location) << c.name << ": " << handOver.text;
    EXPECT_EQ(applied.topPattern, c.pattern) << c.name << ": " << handOver.text;
    EXPECT_EQ(applied.searchStarts, c.searchStarts) << c.name << ": " << handOver.text;
  }
}

TEST(HandOver, ArgumentsWithoutRelativeLocationsAreRebuiltAsTheProgramRebuildsThem) {
  const Args args = {"-b/tmp", "-m\"quoted\" & more", "-s1", "x", "-tg"};
  std::vector<std::string> cp932(args.begin(), args.end());
  EXPECT_EQ(BuildHandOver(args, "/home/u").text, CommandTextFromArgs(cp932));
  EXPECT_EQ(BuildHandOver({}, "/home/u").text, "") << "no arguments change nothing";
}

HandOver Sample() {
  HandOver h;
  h.text = "-b\"/home/u/my-dir\" -m\x93\xfa\x96\x7b -tg";
  h.workingFolder = "/home/u";
  h.nativeLocation = "/home/u/\xF0\x9F\x98\x80";
  h.nativeArgs = {"-b/home/u/my-dir", "", "\xff\xfe not UTF-8", "-tg"};
  return h;
}

TEST(HandOver, FrameRoundTrip) {
  HandOver empty;
  HandOver longArgs;
  longArgs.nativeArgs.assign(1000, std::string(300, 'a'));
  for (const HandOver& h : {Sample(), empty, longArgs}) {
    std::string frame = EncodeHandOver(h);
    ASSERT_FALSE(frame.empty());
    EXPECT_EQ(HandOverFrameSize(frame.substr(0, kHandOverHeaderSize)), frame.size());
    std::optional<HandOver> decoded = DecodeHandOver(frame);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, h);
  }
  EXPECT_EQ(EncodeHandOver(empty), std::string("SQHO\x01\0\0\0\x10\0\0\0", 12) + std::string(16, '\0'));
}

TEST(HandOver, EncodeRefusesWhatCannotTravel) {
  HandOver nul = Sample();
  nul.nativeArgs.push_back(std::string("a\0b", 3));
  EXPECT_EQ(EncodeHandOver(nul), "");
  HandOver huge;
  huge.text.assign(kMaxHandOverSize, 'x');
  EXPECT_EQ(EncodeHandOver(huge), "");
}

// The frame with the 32-bit value at `at` replaced.
std::string WithU32(std::string frame, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) frame[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return frame;
}

TEST(HandOver, DecodeRefusesMalformedFrames) {
  const std::string good = EncodeHandOver(Sample());
  const HandOver sample = Sample();
  const size_t textLength = 12;  // where the first field's length stands
  const size_t argCountAt =
      textLength + 12 + sample.text.size() + sample.workingFolder.size() + sample.nativeLocation.size();
  ASSERT_EQ(sample.nativeArgs.size(), 4u);
  struct Case {
    const char* name;
    std::string frame;
  };
  std::vector<Case> cases = {
      {"empty", ""},
      {"the bare text of a copy-data message", std::string("-bC:\\x\0", 7)},
      {"another magic", "XQHO" + good.substr(4)},
      {"another version", WithU32(good, 4, 2)},
      {"version 0", WithU32(good, 4, 0)},
      {"a byte more than the payload length says", good + "x"},
      {"a payload length one too large", WithU32(good, 8, static_cast<uint32_t>(good.size() - 11))},
      {"a payload length one too small", WithU32(good, 8, static_cast<uint32_t>(good.size() - 13))},
      {"a payload length beyond the bound", WithU32(good, 8, 0xFFFFFFFF)},
      {"a field running past the end", WithU32(good, textLength, 0xFFFFFFF0)},
      {"a field one byte too long", WithU32(good, textLength, static_cast<uint32_t>(sample.text.size() + 1))},
      {"an argument count beyond the fields", WithU32(good, argCountAt, 0xFFFFFFFF)},
      {"an argument count one too large", WithU32(good, argCountAt, 5)},
      {"an argument count one too small", WithU32(good, argCountAt, 3)},
  };
  std::string withNul = good;
  withNul[textLength + 4] = '\0';
  cases.push_back({"a NUL in the text", withNul});
  for (size_t cut = 0; cut < good.size(); ++cut) {
    cases.push_back({"a frame cut short", good.substr(0, cut)});
  }
  for (const Case& c : cases)
    EXPECT_FALSE(DecodeHandOver(c.frame)) << c.name << " (" << c.frame.size() << ")";
  ASSERT_TRUE(DecodeHandOver(good));
}

TEST(HandOver, FrameSizeFromTheHeader) {
  const std::string good = EncodeHandOver(Sample());
  EXPECT_EQ(HandOverFrameSize(good.substr(0, 12)), good.size());
  EXPECT_EQ(HandOverFrameSize(good), good.size()) << "bytes after the header are not looked at";
  EXPECT_EQ(HandOverFrameSize(good.substr(0, 11)), std::nullopt);
  EXPECT_EQ(HandOverFrameSize(WithU32(good, 8, kMaxHandOverSize - 12).substr(0, 12)), kMaxHandOverSize);
  EXPECT_EQ(HandOverFrameSize(WithU32(good, 8, kMaxHandOverSize - 11).substr(0, 12)), std::nullopt);
  EXPECT_EQ(HandOverFrameSize("GET / HTTP/1.1\r\n"), std::nullopt);
}

// Random bytes, and random changes to a good frame: decoding never fails badly, and whatever decodes is
// exactly what its own encoding gives, so no two frames mean the same and nothing is half read.
TEST(HandOver, RandomBytesDecodeSafely) {
  std::mt19937 random(13579);
  const std::string good = EncodeHandOver(Sample());
  int decodedMutations = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string bytes;
    if (round % 2 == 0) {
      bytes.resize(random() % 64);
      for (char& c : bytes) c = static_cast<char>(random());
      if (round % 4 == 0 && bytes.size() >= 12) bytes.replace(0, 12, good.substr(0, 12));
    } else {
      bytes = good;
      for (int changes = 1 + random() % 3; changes > 0; --changes) {
        bytes[random() % bytes.size()] = static_cast<char>(random());
      }
    }
    std::optional<HandOver> decoded = DecodeHandOver(bytes);
    if (!decoded) continue;
    decodedMutations += round % 2;
    EXPECT_EQ(EncodeHandOver(*decoded), bytes);
  }
  EXPECT_GT(decodedMutations, 0) << "changes inside the texts still decode";
}

TEST(HandOver, RunningInstanceDecision) {
  using A = HandOverAction;
  struct Case {
    bool mutexF, decoded, settingsOpen, searching;
    HandOverAction action;
  };
  Case cases[] = {
      {false, true, false, false, A::kDecline},      {false, false, false, false, A::kDecline},
      {false, true, true, true, A::kDecline},        {true, false, false, false, A::kDecline},
      {true, true, false, false, A::kRaiseAndApply}, {true, true, true, false, A::kRaise},
      {true, true, false, true, A::kRaise},          {true, true, true, true, A::kRaise},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideHandOver(c.mutexF, c.decoded, c.settingsOpen, c.searching), c.action)
        << c.mutexF << c.decoded << c.settingsOpen << c.searching;
  }
}

TEST(HandOver, SocketName) {
  struct Case {
    unsigned uid;
    std::string runtimeDir;
    std::string name;
  };
  Case cases[] = {
      {1000, "/run/user/1000", "/run/user/1000/Serquin133UniqueName-1000"},
      {1000, "/run/user/1000/", "/run/user/1000/Serquin133UniqueName-1000"},
      {0, "", "Serquin133UniqueName-0"},
      {4294967295u, "relative/dir", "Serquin133UniqueName-4294967295"},
  };
  for (const Case& c : cases) EXPECT_EQ(HandOverSocketName(c.uid, c.runtimeDir), c.name) << c.runtimeDir;
  EXPECT_NE(CurrentHandOverSocketName().find("Serquin133UniqueName-"), std::string::npos);
}

}  // namespace

// What the running window applies must name the same entries the new start named, whatever their names.
TEST(HandOver, RunningInstanceAppliesTheNamedLocationWhole) {
  TempTree tree;
  const std::string plain = tree.Folder("docs");
  const std::string korean = tree.Folder("\xED\x95\x9C\xEA\xB5\xAD");  // 한국
  struct Case {
    const char* name;
    Args args;
    std::string folderText;    // FolderText after applying
    std::string folderNative;  // FolderNative after applying
    bool searchStarts;
  };
  const Case cases[] = {
      {"single folder", {plain}, plain, "", false},
      {"single folder code page 932 cannot spell", {korean}, platform::Cp932FromUtf8(korean), korean, false},
      {"relative location and go", {"-bdocs", "-mx", "-tg"}, plain, "", true},
      {"missing single folder changes nothing", {tree.Path("none")}, "", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<HandOver> received = DecodeHandOver(EncodeHandOver(BuildHandOver(c.args, tree.Root())));
    ASSERT_TRUE(received);
    SearchConditions conditions;
    HistoryList locations(HistoryKind::Location);
    HistoryList patterns(HistoryKind::Pattern);
    bool starts = ApplyCommandLine(HandOverCommandLine(*received), conditions, locations, patterns, kNow)
                      .startSearch;
    EXPECT_EQ(locations.SelectedText(), c.folderText);
    EXPECT_EQ(conditions.FolderNative, c.folderNative);
    EXPECT_EQ(starts, c.searchStarts);
  }
}
