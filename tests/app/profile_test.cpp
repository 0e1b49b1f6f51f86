#include "app/profile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using Items = std::vector<HistoryItem>;
using Texts = std::vector<std::string>;

const HistoryItem kPatternPlaceholder{"", HistoryList::kPlaceholderData};

// Everything a load produces.
struct Loaded {
  SearchConditions conditions;
  AppSettings settings;
  HistoryList locationBox{HistoryKind::Location};
  HistoryList patternBox{HistoryKind::Pattern};
};

Loaded Load(const std::string& file, bool regexPresent = true) {
  Loaded loaded;
  LoadProfile(IniFile(file), loaded.conditions, loaded.settings, loaded.locationBox, loaded.patternBox,
              [regexPresent] { return regexPresent; });
  return loaded;
}

// The stored fields of the conditions and settings, one number or text per entry, so that two loads can
// be compared field by field with readable failures.
std::vector<std::string> Stored(const Loaded& l) {
  const SearchConditions& c = l.conditions;
  const AppSettings& s = l.settings;
  const FrameSettings& f = s.Frame;
  auto n = [](int64_t v) { return std::to_string(v); };
  auto o = [](const std::optional<int>& v) { return v ? std::to_string(*v) : std::string("none"); };
  std::vector<std::string> fields = {
      c.PatternText,       c.FolderText,     n(c.SearchMoji),     n(c.SearchFile),    n(c.SearchFolder),
      n(c.FolderDetail),   n(c.DepthDrawF),  n(c.SubFolder),      n(c.Depth),         n(c.ConvertFlag),
      n(c.LetterClassify), n(c.BregFlag),    n(c.MojiAll),        n(c.FileAll),       n(c.TimeKind),
      n(c.RangeKind),      n(c.PastDay),     n(c.PastTime),       n(c.SizeMin),       n(c.SizeMax),
      n(c.SizeMinUnit),    n(c.SizeMaxUnit), n(c.AttrReadonly),   n(c.AttrHidden),    n(c.AttrSystem),
      n(c.AttrArchived),   n(s.RirekiKind),  n(s.PatternMaximum), n(s.FolderMaximum), n(s.MojiExtMaximum),
      n(s.FileExtMaximum), n(s.OptionTab),   n(s.WhiteCheck),     n(s.SoutaiF),       s.EditorFile,
      s.EditorParam,       s.WaveFile,       s.CsvFile,           n(s.MutexF),        o(f.SizeW),
      o(f.SizeH),          o(f.IchiX),       o(f.IchiY),          n(f.ViewerY),       n(f.TemaeF)};
  for (uint32_t colour : s.CustomIro) fields.push_back(n(colour));
  for (const std::string& e : c.MojiExtList) fields.push_back("moji:" + e);
  for (const std::string& e : c.FileExtList) fields.push_back("file:" + e);
  return fields;
}

TEST(Profile, AnEmptyProfileGivesEveryDefault) {
  Loaded loaded = Load("");
  Loaded defaults;
  EXPECT_EQ(Stored(loaded), Stored(defaults));
  EXPECT_EQ(loaded.conditions.MojiExtList, Texts{"txt;html;htm"});
  EXPECT_EQ(loaded.locationBox.Items(), Items{{""}});
  EXPECT_EQ(loaded.patternBox.Items(), Items{kPatternPlaceholder});
  EXPECT_EQ(loaded.settings.EditorParam, "&F /&L");
  EXPECT_EQ(loaded.settings.CustomIro[15], 0xFFFFFFu);
}

// One stored key and the value it must load to.
struct ValueCase {
  const char* section;
  const char* key;
  const char* stored;
  std::function<int64_t(const Loaded&)> field;
  int64_t expected;
};

TEST(Profile, ReadingClampsEveryValue) {
  const char* R = "RirekiMaximum Section";
  const char* C = "Condition Section";
  const char* F = "Filter Section";
  auto kind = [](const Loaded& l) { return l.settings.RirekiKind; };
  auto patternMax = [](const Loaded& l) { return l.settings.PatternMaximum; };
  auto fileExtMax = [](const Loaded& l) { return l.settings.FileExtMaximum; };
  auto optionTab = [](const Loaded& l) { return l.settings.OptionTab; };
  auto depth = [](const Loaded& l) { return l.conditions.Depth; };
  auto convert = [](const Loaded& l) { return l.conditions.ConvertFlag; };
  auto timeKind = [](const Loaded& l) { return l.conditions.TimeKind; };
  auto rangeKind = [](const Loaded& l) { return l.conditions.RangeKind; };
  auto pastDay = [](const Loaded& l) { return l.conditions.PastDay; };
  auto pastTime = [](const Loaded& l) { return l.conditions.PastTime; };
  auto sizeMin = [](const Loaded& l) { return l.conditions.SizeMin; };
  auto sizeMax = [](const Loaded& l) { return l.conditions.SizeMax; };
  auto minUnit = [](const Loaded& l) { return l.conditions.SizeMinUnit; };
  auto maxUnit = [](const Loaded& l) { return l.conditions.SizeMaxUnit; };
  auto readonly = [](const Loaded& l) { return l.conditions.AttrReadonly; };
  auto archived = [](const Loaded& l) { return l.conditions.AttrArchived; };
  auto letter = [](const Loaded& l) { return l.conditions.LetterClassify; };
  auto colourA = [](const Loaded& l) { return l.settings.CustomIro[10]; };
  auto viewerY = [](const Loaded& l) { return l.settings.Frame.ViewerY; };
  auto detail = [](const Loaded& l) { return l.conditions.FolderDetail; };
  ValueCase cases[] = {
      {R, "Kind", "3", kind, 3},
      {R, "Kind", "4", kind, 0},
      {R, "Kind", "-1", kind, 0},
      {R, "Pattern", "200", patternMax, 16},
      {R, "Pattern", "128", patternMax, 16},
      {R, "Pattern", "127", patternMax, 127},
      {R, "Pattern", "0", patternMax, 0},
      {R, "Pattern", "-1", patternMax, 16},
      {R, "FileExt", "999", fileExtMax, 16},
      {C, "OptionTab", "4", optionTab, 4},
      {C, "OptionTab", "5", optionTab, 0},
      {C, "OptionTab", "-1", optionTab, 0},
      {C, "Depth", "-3", depth, 0},
      {C, "Depth", "99", depth, 64},
      {C, "Depth", "64", depth, 64},
      {C, "ConvertFlag", "4", convert, 3},
      {C, "ConvertFlag", "-1", convert, 3},
      {C, "ConvertFlag", "0", convert, 0},
      {C, "LetterClassify", "-7", letter, 1},
      {C, "CustomIroA", "255", colourA, 255},
      {C, "CustomIroA", "-1", colourA, 0xFFFFFFFF},
      {F, "TimeKind", "2", timeKind, 1},
      {F, "TimeKind", "-1", timeKind, 1},
      {F, "TimeKind", "0", timeKind, 0},
      {F, "RangeKind", "3", rangeKind, 0},
      {F, "RangeKind", "-1", rangeKind, 0},
      {F, "RangeKind", "2", rangeKind, 2},
      {F, "PastDay", "-5", pastDay, 4},
      {F, "PastDay", "-1", pastDay, 0},
      {F, "PastDay", "40000", pastDay, 32767},
      {F, "PastDay", "-2147483648", pastDay, 32767},
      {F, "PastTime", "-3600", pastTime, 3600},
      {F, "PastTime", "90000", pastTime, 86399},
      {F, "PastTime", "-2147483648", pastTime, 86399},
      {F, "SizeMin", "-1", sizeMin, 32767},
      {F, "SizeMin", "40000", sizeMin, 32767},
      {F, "SizeMax", "4294967295", sizeMax, 32767},
      {F, "SizeMax", "32767", sizeMax, 32767},
      {F, "SizeMinUnit", "3", minUnit, 1},
      {F, "SizeMaxUnit", "-1", maxUnit, 1},
      {F, "SizeMaxUnit", "2", maxUnit, 2},
      {F, "AttrReadonly", "3", readonly, 0},
      {F, "AttrArchived", "-1", archived, 0},
      {F, "AttrArchived", "2", archived, 2},
      {"Frame Section", "ViewerY", "-7", viewerY, -7},
      {"SearchListFile Section", "FolderExF", "0", detail, 0},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
    Loaded loaded = Load(std::string("[") + c.section + "]\r\n" + c.key + "=" + c.stored + "\r\n");
    EXPECT_EQ(c.field(loaded), c.expected);
  }
}

TEST(Profile, TextSearchExcludesTheNameSearches) {
  struct Case {
    int moji, file, folder;
    bool expectMoji, expectFile, expectFolder;
  } cases[] = {
      {1, 1, 1, true, false, false},
      {0, 1, 1, false, true, true},
      {0, 0, 1, false, false, true},
      {0, 0, 0, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.moji) + std::to_string(c.file) + std::to_string(c.folder));
    Loaded loaded = Load("[Condition Section]\r\nSearchMoji=" + std::to_string(c.moji) + "\r\nSearchFile=" +
                         std::to_string(c.file) + "\r\nSearchFolder=" + std::to_string(c.folder) + "\r\n");
    EXPECT_EQ(loaded.conditions.SearchMoji, c.expectMoji);
    EXPECT_EQ(loaded.conditions.SearchFile, c.expectFile);
    EXPECT_EQ(loaded.conditions.SearchFolder, c.expectFolder);
  }
}

TEST(Profile, TheRegexFlagNeedsTheLibrary) {
  const std::string on = "[Condition Section]\r\nBregFlag=1\r\n";
  EXPECT_TRUE(Load(on, true).conditions.BregFlag);
  EXPECT_FALSE(Load(on, false).conditions.BregFlag);
  // The library is asked only when the flag is stored on.
  Loaded loaded;
  bool asked = false;
  LoadProfile(IniFile("[Condition Section]\r\nBregFlag=0\r\n"), loaded.conditions, loaded.settings,
              loaded.locationBox, loaded.patternBox, [&asked] { return asked = true; });
  EXPECT_FALSE(asked);
}

TEST(Profile, HistoriesLoadByTheirBoxRules) {
  struct Case {
    const char* name;
    std::string file;
    Items locations;
    Items patterns;
    int locationSelected, patternSelected;
  } cases[] = {
      {"a gap ends the list",
       "[Value Section]\r\nFolder0=/a&\r\nFolder2=/c&\r\n",
       {{"/a"}},
       {kPatternPlaceholder},
       0,
       -1},
      {"an empty location is skipped and reading goes on",
       "[Value Section]\r\nFolder0=&\r\nFolder1=\r\nFolder2=/c&\r\n",
       {{"/c"}},
       {kPatternPlaceholder},
       0,
       -1},
      {"locations that differ in case: the first wins",
       "[Value Section]\r\nFolder0=/a/B&\r\nFolder1=/x&\r\nFolder2=/A/b&\r\n",
       {{"/a/B"}, {"/x"}},
       {kPatternPlaceholder},
       0,
       -1},
      {"patterns compare with case and keep an empty entry",
       "[Value Section]\r\nPattern0=abc&\r\nPattern1=ABC&\r\nPattern2=&\r\nPattern3=abc&\r\n",
       {{""}},
       {{"abc"}, {"ABC"}, {""}},
       -1,
       0},
      {"one & comes off and keeps the trailing blanks",
       "[Value Section]\r\nPattern0= a b &\r\nPattern1=x&&\r\nPattern2=y\r\nPattern3=  z  \r\n",
       {{""}},
       {{"a b "}, {"x&"}, {"y"}, {"z"}},
       -1,
       0},
      {"enclosing quotes keep the leading blanks",
       "[Value Section]\r\nPattern0=\" a b &\"\r\nPattern1=\"q\"\r\nPattern2=\"r\"&\r\nPattern3=\"\r\n",
       {{""}},
       {{" a b "}, {"q"}, {"\"r\""}, {"\""}},
       -1,
       0},
      {"the maximum limits what is read",
       "[RirekiMaximum Section]\r\nFolder=2\r\nPattern=0\r\n[Value Section]\r\nFolder0=/a&\r\nFolder1=/b&\r\n"
       "Folder2=/c&\r\nPattern0=p&\r\n",
       {{"/a"}, {"/b"}},
       {kPatternPlaceholder},
       0,
       -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Loaded loaded = Load(c.file);
    EXPECT_EQ(loaded.locationBox.Items(), c.locations);
    EXPECT_EQ(loaded.patternBox.Items(), c.patterns);
    EXPECT_EQ(loaded.locationBox.Selected(), c.locationSelected);
    EXPECT_EQ(loaded.patternBox.Selected(), c.patternSelected);
    EXPECT_EQ(loaded.conditions.FolderText, loaded.locationBox.SelectedText());
    EXPECT_EQ(loaded.conditions.PatternText, loaded.patternBox.SelectedText());
  }
}

TEST(Profile, NumberedKeysUseHexadecimal) {
  EXPECT_EQ(ListKey("Folder", 9), "Folder9");
  EXPECT_EQ(ListKey("Folder", 10), "Foldera");
  EXPECT_EQ(ListKey("Folder", 15), "Folderf");
  EXPECT_EQ(ListKey("Folder", 16), "Folder10");
  std::string file = "[Value Section]\r\n";
  Texts expected;
  for (int i = 0; i < 18; ++i) {
    file += ListKey("Folder", i) + "=/f" + std::to_string(i) + "&\r\n";
    expected.push_back("/f" + std::to_string(i));
  }
  EXPECT_EQ(Load("[RirekiMaximum Section]\r\nFolder=127\r\n" + file).locationBox.Texts(), expected);
  // Decimal names are not the list's keys: Folder10 is entry sixteen, so a decimal list stops at 10.
  EXPECT_EQ(Load("[Condition Section]\r\nCustomIroA=11\r\nCustomIro10=99\r\n").settings.CustomIro[10], 11u);
}

TEST(Profile, ExtensionListsFallBackToTheDefault) {
  struct Case {
    const char* name;
    std::string section;
    Texts moji, file;
  } cases[] = {
      {"none stored", "", {"txt;html;htm"}, {"txt;html;htm"}},
      {"read in order, duplicates without case dropped",
       "Moji0=c;h\r\nMoji1=TXT\r\nMoji2=C;H\r\nMoji3=txt\r\nFile0=*\r\n",
       {"c;h", "TXT"},
       {"*"}},
      {"empty entries are skipped, a gap ends the list",
       "Moji0=\r\nMoji1=log\r\nMoji3=x\r\n",
       {"log"},
       {"txt;html;htm"}},
      {"only empty entries give the default", "File0=\r\n", {"txt;html;htm"}, {"txt;html;htm"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Loaded loaded = Load("[FilterExt Section]\r\n" + c.section);
    EXPECT_EQ(loaded.conditions.MojiExtList, c.moji);
    EXPECT_EQ(loaded.conditions.FileExtList, c.file);
  }
}

// A hand-written profile as a Windows editor leaves it: Shift-JIS, CR LF, blanks everywhere, a repeated
// section and key, and stray lines.
TEST(Profile, ReadsAHandWrittenProfile) {
  const std::string file =
      "[ RirekiMaximum Section ]\r\n"
      "Pattern = 3\r\n"
      "\r\n"
      "[Value Section]\r\n"
      "Folder0 = C:\\\x95\xb6\x8f\x91 &\r\n"  // 文書 with a trailing blank
      "Pattern0 =\x8c\x9f\x8d\xf5&\r\n"       // 検索
      "Pattern0 = shadowed&\r\n"
      "this line has no equals sign\r\n"
      "Pattern1=\x83\x5c\x83\x74\x83\x67&\r\n"  // ソフト: 0x5C trail bytes stay part of their characters
      "[condition section]\r\n"
      "searchmoji = 0\r\n"
      "SearchFolder\t=\t1\r\n"
      "Depth=7\r\n"
      "EditorFile = C:\\Program Files\\\x83\x47\x83\x66\x83\x42\x83\x5e.exe \r\n"
      "[Condition Section]\r\n"
      "Depth=9\r\n";
  Loaded loaded = Load(file);
  EXPECT_EQ(loaded.locationBox.Texts(), Texts{"C:\\\x95\xb6\x8f\x91 "});
  EXPECT_EQ(loaded.patternBox.Texts(), (Texts{"\x8c\x9f\x8d\xf5", "\x83\x5c\x83\x74\x83\x67"}));
  EXPECT_EQ(loaded.settings.PatternMaximum, 3);
  EXPECT_FALSE(loaded.conditions.SearchMoji);
  EXPECT_TRUE(loaded.conditions.SearchFolder);
  EXPECT_EQ(loaded.conditions.Depth, 7);
  EXPECT_EQ(loaded.settings.EditorFile, "C:\\Program Files\\\x83\x47\x83\x66\x83\x42\x83\x5e.exe");
}

// A profile with a value other than the default in every key.
Loaded FullProfile() {
  Loaded l;
  SearchConditions& c = l.conditions;
  AppSettings& s = l.settings;
  c.SearchMoji = false;
  c.SearchFile = c.SearchFolder = true;
  c.FolderDetail = true;  // never written: stays the default of the file list's key
  c.DepthDrawF = c.SubFolder = c.LetterClassify = c.BregFlag = c.MojiAll = true;
  c.FileAll = false;
  c.Depth = 12;
  c.ConvertFlag = 2;
  c.TimeKind = 0;
  c.RangeKind = 2;
  c.PastDay = 30;
  c.PastTime = 7200;
  c.SizeMin = 32767;
  c.SizeMax = 5;
  c.SizeMinUnit = 0;
  c.SizeMaxUnit = 2;
  c.AttrReadonly = 1;
  c.AttrHidden = 2;
  c.AttrSystem = 1;
  c.AttrArchived = 2;
  c.MojiExtList = {"c;h", "\x83\x65\x83\x4c\x83\x58\x83\x67", "txt"};
  c.FileExtList = {"*"};
  s.RirekiKind = 2;
  s.PatternMaximum = 20;
  s.FolderMaximum = 19;
  s.MojiExtMaximum = 18;
  s.FileExtMaximum = 0;  // nothing written: reads back as the default list
  s.OptionTab = 4;
  s.WhiteCheck = s.MutexF = true;
  s.SoutaiF = false;
  for (size_t i = 0; i < s.CustomIro.size(); ++i) s.CustomIro[i] = static_cast<uint32_t>(i * 0x010203);
  s.CustomIro[3] = 0x80000000u;
  s.EditorFile = "/usr/bin/vi";
  s.EditorParam = "+&L &F";
  s.WaveFile = "/tmp/end.wav";
  s.CsvFile = "/tmp/\x8c\x8b\x89\xca.csv";
  s.Frame = {640, 480, 10, 20, 120, true};
  for (const char* folder : {"/\x95\xb6\x8f\x91 ", " /lead", "/&"}) l.locationBox.AppendIfAbsent(folder);
  for (const char* pattern : {" both ", "", "ends&", "\x83\x5c"}) l.patternBox.AppendIfAbsent(pattern);
  for (int i = 0; i < 20; ++i) l.locationBox.AppendIfAbsent("/more" + std::to_string(i));
  l.locationBox.Select(0);
  l.patternBox.Select(0);
  c.FolderText = l.locationBox.SelectedText();
  c.PatternText = l.patternBox.SelectedText();
  return l;
}

TEST(Profile, SaveThenLoadGivesTheSameProfile) {
  Loaded saved = FullProfile();
  IniFile ini;
  SaveProfile(ini, saved.conditions, saved.settings, saved.locationBox, saved.patternBox);
  Loaded loaded = Load(ini.Text());

  // What a save cannot keep: the lists beyond their maximum, and the lists without entries written.
  Loaded expected = FullProfile();
  expected.conditions.FileExtList = {"txt;html;htm"};
  EXPECT_EQ(Stored(loaded), Stored(expected));
  Texts locations = saved.locationBox.Texts();
  locations.resize(19);
  EXPECT_EQ(loaded.locationBox.Texts(), locations);
  EXPECT_EQ(loaded.patternBox.Texts(), saved.patternBox.Texts());
  EXPECT_EQ(loaded.patternBox.Items()[1], HistoryItem{});  // an empty search string stays a real entry
}

TEST(Profile, SavesSignsAndFormatsAsStored) {
  Loaded l;
  l.conditions.PastDay = ~6;  // the next 6 days: written as the day count
  l.conditions.PastTime = -3600;
  l.conditions.SizeMin = -1;  // out of its range in memory: "%u"
  IniFile ini;
  SaveProfile(ini, l.conditions, l.settings, l.locationBox, l.patternBox);
  EXPECT_EQ(ini.ReadString("Filter Section", "PastDay", ""), "6");
  EXPECT_EQ(ini.ReadString("Filter Section", "PastTime", ""), "-3600");
  EXPECT_EQ(ini.ReadString("Filter Section", "SizeMin", ""), "4294967295");
  Loaded back = Load(ini.Text());
  EXPECT_EQ(back.conditions.PastDay, 6);
  EXPECT_EQ(back.conditions.PastTime, 3600);
  EXPECT_EQ(back.conditions.SizeMin, 32767);
}

TEST(Profile, ADefaultProfileIsWrittenInItsOrder) {
  Loaded l;
  IniFile ini;
  SaveProfile(ini, l.conditions, l.settings, l.locationBox, l.patternBox);
  std::string colours;
  for (const char* digit : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"}) {
    colours += std::string("CustomIro") + digit + "=16777215\r\n";
  }
  EXPECT_EQ(
      ini.Text(),
      "[Frame Section]\r\nViewerY=50\r\nTemaeF=0\r\n\r\n"
      "[RirekiMaximum Section]\r\nKind=0\r\nPattern=16\r\nFolder=16\r\nMojiExt=16\r\nFileExt=16\r\n\r\n"
      "[Condition Section]\r\nSearchMoji=1\r\nSearchFile=0\r\nSearchFolder=0\r\nOptionTab=0\r\n"
      "DepthDrawF=0\r\nSubFolder=0\r\nDepth=1\r\nWhiteCheck=0\r\nConvertFlag=3\r\nLetterClassify=0\r\n"
      "BregFlag=0\r\nSoutaiF=1\r\n" +
          colours +
          "EditorFile=Notepad.exe\r\nEditorParam=&F /&L\r\nWaveFile=\r\nCsvFile=\r\nMutexF=0\r\n\r\n"
          "[FilterExt Section]\r\nMoji0=txt;html;htm\r\nFile0=txt;html;htm\r\nMojiAll=0\r\nFileAll=1\r\n\r\n"
          "[Filter Section]\r\nTimeKind=1\r\nRangeKind=0\r\nPastDay=0\r\nPastTime=0\r\nSizeMin=0\r\n"
          "SizeMax=0\r\nSizeMinUnit=1\r\nSizeMaxUnit=1\r\nAttrReadonly=0\r\nAttrHidden=0\r\nAttrSystem=0\r\n"
          "AttrArchived=0\r\n");
}

TEST(Profile, SavingKeepsWhatOthersOwnAndRewritesTheLists) {
  IniFile ini(
      "[Viewer Section]\r\nFontSize=12\r\n"
      "[SearchListFile Section]\r\nFolderExF=0\r\nCtlColWidth00=90\r\n"
      "[Frame Section]\r\nSizeW=800\r\nSizeH=600\r\nIchiX=5\r\nIchiY=6\r\n"
      "[Value Section]\r\nFolder0=/old&\r\nFolder1=/older&\r\nPattern0=old&\r\n"
      "[Value Section]\r\nFolder7=/stale&\r\n"
      "[FilterExt Section]\r\nMoji0=a\r\nMoji1=b\r\n");
  Loaded l;
  l.locationBox.AddPlaceholderIfEmpty();  // a lone placeholder is not an entry
  l.patternBox.PushFront("new\nline");    // cannot be stored: left out
  l.patternBox.PushFront("kept");
  l.conditions.MojiExtList = {"x"};
  SaveProfile(ini, l.conditions, l.settings, l.locationBox, l.patternBox);

  EXPECT_EQ(ini.ReadString("Viewer Section", "FontSize", ""), "12");
  EXPECT_EQ(ini.ReadString("SearchListFile Section", "FolderExF", ""), "0");
  EXPECT_EQ(ini.ReadString("SearchListFile Section", "CtlColWidth00", ""), "90");
  // The placement is unknown here, so the stored one stays.
  EXPECT_EQ(ini.ReadString("Frame Section", "SizeW", ""), "800");
  EXPECT_EQ(ini.ReadString("Frame Section", "IchiY", ""), "6");
  Loaded back = Load(ini.Text());
  EXPECT_EQ(back.locationBox.Items(), Items{{""}});
  EXPECT_EQ(back.patternBox.Texts(), Texts{"kept"});
  EXPECT_EQ(back.conditions.MojiExtList, Texts{"x"});
  EXPECT_FALSE(back.conditions.FolderDetail);
  EXPECT_EQ(back.settings.Frame.SizeW, 800);
}

TEST(Profile, PlaceFrameKeepsTheWindowInTheWorkArea) {
  struct Case {
    const char* name;
    FrameSettings frame;
    FrameRect expected;
  } cases[] = {
      {"nothing stored: designed size at 64,64", {}, {64, 64, 400, 300}},
      {"stored values inside the work area", {500, 350, 10, 20, 50, false}, {10, 20, 500, 350}},
      {"too big: the work area", {3000, 2000, 0, 0, 50, false}, {0, 0, 1280, 1024}},
      {"too small: the designed size", {100, 50, 0, 0, 50, false}, {0, 0, 400, 300}},
      {"off the right and bottom edges: moved back", {500, 400, 1200, 900, 50, false}, {780, 624, 500, 400}},
      {"negative edges: raised to 0", {500, 400, -30, -2147483647 - 1, 50, false}, {0, 0, 500, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrameRect r = PlaceFrame(c.frame, 400, 300, 1280, 1024);
    EXPECT_EQ(r.x, c.expected.x);
    EXPECT_EQ(r.y, c.expected.y);
    EXPECT_EQ(r.width, c.expected.width);
    EXPECT_EQ(r.height, c.expected.height);
  }
  // A work area smaller than the designed window: the designed size wins, the edges stay at 0.
  FrameRect r = PlaceFrame(FrameSettings{}, 400, 300, 320, 200);
  EXPECT_EQ(r.width, 400);
  EXPECT_EQ(r.x, 0);
}

}  // namespace
