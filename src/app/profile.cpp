#include "app/profile.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

// A list entry is read twice, with two different defaults: when the results differ the key is absent,
// which tells an absent key from one that is present with an empty value.
constexpr char kAbsentSentinel[] = "unique13579Serquin";

std::optional<std::string> ReadListEntry(const IniFile& ini, const char* section, const std::string& key) {
  std::string withEmpty = ini.ReadString(section, key, "");
  if (withEmpty != ini.ReadString(section, key, kAbsentSentinel)) return std::nullopt;
  return withEmpty;
}

// Location and pattern entries are stored with one "&" appended, so that trailing blanks of the text
// survive the blank-stripping of the reader. Leading blanks would not survive it either: an entry that
// begins with a blank is written inside double quotes, which reading removes again, as the platform's
// own profile reader removes a pair of enclosing quotes.
std::string WithTerminator(const std::string& text) {
  bool leadingBlank = !text.empty() && (text[0] == ' ' || text[0] == '\t');
  return leadingBlank ? "\"" + text + "&\"" : text + "&";
}

std::string WithoutTerminator(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  if (!text.empty() && text.back() == '&') text.pop_back();
  return text;
}

bool ReadBool(const IniFile& ini, const char* section, const char* key, bool defaultValue) {
  return ini.ReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

// The value taken as unsigned: anything above `maximum` (so also any negative value) becomes
// `replacement`.
int ReadUnsigned(const IniFile& ini, const char* section, const char* key, int defaultValue, unsigned maximum,
                 int replacement) {
  unsigned value = static_cast<unsigned>(ini.ReadInt(section, key, defaultValue));
  return value > maximum ? replacement : static_cast<int>(value);
}

// The value when it lies in [minimum, maximum], else `replacement`.
int ReadInRange(const IniFile& ini, const char* section, const char* key, int defaultValue, int minimum,
                int maximum, int replacement) {
  int value = ini.ReadInt(section, key, defaultValue);
  return value < minimum || value > maximum ? replacement : value;
}

// The value, or nothing when the key is absent: a present key reads the same whatever the default.
std::optional<int> ReadOptionalInt(const IniFile& ini, const char* section, const char* key) {
  int value = ini.ReadInt(section, key, 0);
  if (value != ini.ReadInt(section, key, 1)) return std::nullopt;
  return value;
}

// Reads entries base0, base1, ... up to `maximum` of them, stopping at the first absent key, into `list`
// by AppendIfAbsent (so the first of duplicates wins and empty entries are dropped where the box drops
// them).
void LoadHistory(const IniFile& ini, const char* section, const char* base, int maximum, bool terminated,
                 HistoryList& list) {
  for (int i = 0; i < maximum; ++i) {
    std::optional<std::string> entry = ReadListEntry(ini, section, ListKey(base, i));
    if (!entry) break;
    list.AppendIfAbsent(terminated ? WithoutTerminator(std::move(*entry)) : *entry);
  }
}

void LoadBox(const IniFile& ini, const char* base, int maximum, HistoryList& box) {
  box.Clear();
  LoadHistory(ini, kValueSection, base, maximum, true, box);
  if (box.Count() > 0) {
    box.Select(0);
  } else {
    box.AddPlaceholderIfEmpty();
  }
}

std::vector<std::string> LoadExtensions(const IniFile& ini, const char* base, int maximum) {
  HistoryList list(HistoryKind::Extension);
  LoadHistory(ini, kFilterExtSection, base, maximum, false, list);
  if (list.Count() == 0) return {kDefaultExtensions};
  return list.Texts();
}

void LoadRirekiMaximum(const IniFile& ini, AppSettings& s) {
  const char* section = kRirekiMaximumSection;
  s.RirekiKind = ReadInRange(ini, section, "Kind", 0, 0, 3, 0);
  s.PatternMaximum = ReadInRange(ini, section, "Pattern", 16, 0, 127, 16);
  s.FolderMaximum = ReadInRange(ini, section, "Folder", 16, 0, 127, 16);
  s.MojiExtMaximum = ReadInRange(ini, section, "MojiExt", 16, 0, 127, 16);
  s.FileExtMaximum = ReadInRange(ini, section, "FileExt", 16, 0, 127, 16);
}

void LoadCondition(const IniFile& ini, SearchConditions& c, AppSettings& s) {
  const char* section = kConditionSection;
  c.SearchMoji = ReadBool(ini, section, "SearchMoji", true);
  c.SearchFile = ReadBool(ini, section, "SearchFile", false);
  c.SearchFolder = ReadBool(ini, section, "SearchFolder", false);
  // Text search never runs together with a name search.
  if (c.SearchMoji) {
    c.SearchFile = c.SearchFolder = false;
  } else if (c.SearchFile || c.SearchFolder) {
    c.SearchMoji = false;
  }
  s.OptionTab = ReadUnsigned(ini, section, "OptionTab", 0, 4, 0);
  c.DepthDrawF = ReadBool(ini, section, "DepthDrawF", false);
  c.SubFolder = ReadBool(ini, section, "SubFolder", false);
  c.Depth = std::clamp(ini.ReadInt(section, "Depth", 1), 0, 64);
  s.WhiteCheck = ReadBool(ini, section, "WhiteCheck", false);
  c.ConvertFlag = ReadUnsigned(ini, section, "ConvertFlag", 3, 3, 3);
  c.LetterClassify = ReadBool(ini, section, "LetterClassify", false);
  c.BregFlag = ReadBool(ini, section, "BregFlag", false);
  s.SoutaiF = ReadBool(ini, section, "SoutaiF", true);
  for (int i = 0; i < 16; ++i) {
    char key[16];
    snprintf(key, sizeof key, "CustomIro%X", i);
    s.CustomIro[static_cast<size_t>(i)] = static_cast<uint32_t>(ini.ReadInt(section, key, 0xFFFFFF));
  }
  s.EditorFile = ini.ReadString(section, "EditorFile", "Notepad.exe");
  s.EditorParam = ini.ReadString(section, "EditorParam", "&F /&L");
  s.WaveFile = ini.ReadString(section, "WaveFile", "");
  s.CsvFile = ini.ReadString(section, "CsvFile", "");
  s.MutexF = ReadBool(ini, section, "MutexF", false);
}

void LoadFilterExt(const IniFile& ini, SearchConditions& c, const AppSettings& s) {
  c.MojiExtList = LoadExtensions(ini, "Moji", s.MojiExtMaximum);
  c.FileExtList = LoadExtensions(ini, "File", s.FileExtMaximum);
  c.MojiAll = ReadBool(ini, kFilterExtSection, "MojiAll", false);
  c.FileAll = ReadBool(ini, kFilterExtSection, "FileAll", true);
}

void LoadFilter(const IniFile& ini, SearchConditions& c) {
  const char* section = kFilterSection;
  c.TimeKind = ReadInRange(ini, section, "TimeKind", 1, 0, 1, 1);
  c.RangeKind = ReadUnsigned(ini, section, "RangeKind", 0, 2, 0);
  // A stored future span (negative v) reads as the past span of ~v days.
  int pastDay = ini.ReadInt(section, "PastDay", 0);
  c.PastDay = std::min(pastDay < 0 ? ~pastDay : pastDay, 32767);
  // The magnitude is taken in 64 bits, so the most negative value does not stay negative.
  int64_t pastTime = ini.ReadInt(section, "PastTime", 0);
  c.PastTime = std::min<int64_t>(pastTime < 0 ? -pastTime : pastTime, 86399);
  c.SizeMin = ReadUnsigned(ini, section, "SizeMin", 0, 32767, 32767);
  c.SizeMax = ReadUnsigned(ini, section, "SizeMax", 0, 32767, 32767);
  c.SizeMinUnit = ReadInRange(ini, section, "SizeMinUnit", 1, 0, 2, 1);
  c.SizeMaxUnit = ReadInRange(ini, section, "SizeMaxUnit", 1, 0, 2, 1);
  c.AttrReadonly = ReadUnsigned(ini, section, "AttrReadonly", 0, 2, 0);
  c.AttrHidden = ReadUnsigned(ini, section, "AttrHidden", 0, 2, 0);
  c.AttrSystem = ReadUnsigned(ini, section, "AttrSystem", 0, 2, 0);
  c.AttrArchived = ReadUnsigned(ini, section, "AttrArchived", 0, 2, 0);
}

void LoadFrame(const IniFile& ini, FrameSettings& f) {
  f.SizeW = ReadOptionalInt(ini, kFrameSection, "SizeW");
  f.SizeH = ReadOptionalInt(ini, kFrameSection, "SizeH");
  f.IchiX = ReadOptionalInt(ini, kFrameSection, "IchiX");
  f.IchiY = ReadOptionalInt(ini, kFrameSection, "IchiY");
  f.ViewerY = ini.ReadInt(kFrameSection, "ViewerY", 50);
  f.TemaeF = ReadBool(ini, kFrameSection, "TemaeF", false);
}

void WriteFormatted(IniFile& ini, const char* section, const char* key, const char* format, auto value) {
  char text[32];
  snprintf(text, sizeof text, format, value);
  ini.WriteString(section, key, text);
}

void WriteInt(IniFile& ini, const char* section, const char* key, int value) {
  WriteFormatted(ini, section, key, "%d", value);
}

void WriteBool(IniFile& ini, const char* section, const char* key, bool value) {
  WriteInt(ini, section, key, value ? 1 : 0);
}

// Writes the first entries as base0, base1, ... up to `maximum` of them. An entry the file cannot hold
// (one with a line break) is left out and the numbering stays contiguous, so the list reads back whole.
void SaveHistory(IniFile& ini, const char* section, const char* base, int maximum, bool terminated,
                 const std::vector<std::string>& texts) {
  int index = 0;
  for (const std::string& text : texts) {
    if (index >= maximum) break;
    if (ini.WriteString(section, ListKey(base, index), terminated ? WithTerminator(text) : text)) ++index;
  }
}

std::vector<std::string> TextsWithoutPlaceholder(HistoryList box) {
  box.RemoveLonePlaceholder();
  return box.Texts();
}

void SaveFrame(IniFile& ini, const FrameSettings& f) {
  if (f.SizeW && f.SizeH && f.IchiX && f.IchiY) {
    WriteInt(ini, kFrameSection, "SizeW", *f.SizeW);
    WriteInt(ini, kFrameSection, "SizeH", *f.SizeH);
    WriteInt(ini, kFrameSection, "IchiX", *f.IchiX);
    WriteInt(ini, kFrameSection, "IchiY", *f.IchiY);
  }
  WriteInt(ini, kFrameSection, "ViewerY", f.ViewerY);
  WriteBool(ini, kFrameSection, "TemaeF", f.TemaeF);
}

void SaveRirekiMaximum(IniFile& ini, const AppSettings& s) {
  WriteInt(ini, kRirekiMaximumSection, "Kind", s.RirekiKind);
  WriteInt(ini, kRirekiMaximumSection, "Pattern", s.PatternMaximum);
  WriteInt(ini, kRirekiMaximumSection, "Folder", s.FolderMaximum);
  WriteInt(ini, kRirekiMaximumSection, "MojiExt", s.MojiExtMaximum);
  WriteInt(ini, kRirekiMaximumSection, "FileExt", s.FileExtMaximum);
}

void SaveCondition(IniFile& ini, const SearchConditions& c, const AppSettings& s) {
  const char* section = kConditionSection;
  WriteBool(ini, section, "SearchMoji", c.SearchMoji);
  WriteBool(ini, section, "SearchFile", c.SearchFile);
  WriteBool(ini, section, "SearchFolder", c.SearchFolder);
  WriteInt(ini, section, "OptionTab", s.OptionTab);
  WriteBool(ini, section, "DepthDrawF", c.DepthDrawF);
  WriteBool(ini, section, "SubFolder", c.SubFolder);
  WriteInt(ini, section, "Depth", c.Depth);
  WriteBool(ini, section, "WhiteCheck", s.WhiteCheck);
  WriteInt(ini, section, "ConvertFlag", c.ConvertFlag);
  WriteBool(ini, section, "LetterClassify", c.LetterClassify);
  WriteBool(ini, section, "BregFlag", c.BregFlag);
  WriteBool(ini, section, "SoutaiF", s.SoutaiF);
  for (int i = 0; i < 16; ++i) {
    char key[16];
    snprintf(key, sizeof key, "CustomIro%X", i);
    // "%d" of the 32 bits, which reads back to the same bits.
    uint32_t colour = s.CustomIro[static_cast<size_t>(i)];
    WriteInt(ini, section, key,
             colour <= 0x7FFFFFFFu ? static_cast<int>(colour) : -static_cast<int>(~colour) - 1);
  }
  // A text with a line break cannot be stored; the stored value then stays as it was.
  ini.WriteString(section, "EditorFile", s.EditorFile);
  ini.WriteString(section, "EditorParam", s.EditorParam);
  ini.WriteString(section, "WaveFile", s.WaveFile);
  ini.WriteString(section, "CsvFile", s.CsvFile);
  WriteBool(ini, section, "MutexF", s.MutexF);
}

void SaveFilterExt(IniFile& ini, const SearchConditions& c, const AppSettings& s) {
  ini.DeleteSection(kFilterExtSection);
  SaveHistory(ini, kFilterExtSection, "Moji", s.MojiExtMaximum, false, c.MojiExtList);
  SaveHistory(ini, kFilterExtSection, "File", s.FileExtMaximum, false, c.FileExtList);
  WriteBool(ini, kFilterExtSection, "MojiAll", c.MojiAll);
  WriteBool(ini, kFilterExtSection, "FileAll", c.FileAll);
}

void SaveFilter(IniFile& ini, const SearchConditions& c) {
  const char* section = kFilterSection;
  WriteInt(ini, section, "TimeKind", c.TimeKind);
  WriteInt(ini, section, "RangeKind", c.RangeKind);
  // The day count only: a future span of ~v days is written as ~v.
  WriteInt(ini, section, "PastDay", c.PastDay < 0 ? ~c.PastDay : c.PastDay);
  // Written with its sign; reading takes the magnitude.
  WriteFormatted(ini, section, "PastTime", "%" PRId64, c.PastTime);
  WriteFormatted(ini, section, "SizeMin", "%u", static_cast<unsigned>(c.SizeMin));
  WriteFormatted(ini, section, "SizeMax", "%u", static_cast<unsigned>(c.SizeMax));
  WriteInt(ini, section, "SizeMinUnit", c.SizeMinUnit);
  WriteInt(ini, section, "SizeMaxUnit", c.SizeMaxUnit);
  WriteInt(ini, section, "AttrReadonly", c.AttrReadonly);
  WriteInt(ini, section, "AttrHidden", c.AttrHidden);
  WriteInt(ini, section, "AttrSystem", c.AttrSystem);
  WriteInt(ini, section, "AttrArchived", c.AttrArchived);
}

}  // namespace

std::string ListKey(const char* base, int index) {
  char suffix[16];
  snprintf(suffix, sizeof suffix, "%x", static_cast<unsigned>(index));
  return std::string(base) + suffix;
}

void LoadProfile(const IniFile& ini, SearchConditions& conditions, AppSettings& settings,
                 HistoryList& locationBox, HistoryList& patternBox,
                 const std::function<bool()>& regexLibraryPresent) {
  LoadRirekiMaximum(ini, settings);
  LoadBox(ini, "Folder", settings.FolderMaximum, locationBox);
  LoadBox(ini, "Pattern", settings.PatternMaximum, patternBox);
  conditions.FolderText = locationBox.SelectedText();
  conditions.PatternText = patternBox.SelectedText();
  LoadCondition(ini, conditions, settings);
  if (conditions.BregFlag && !regexLibraryPresent()) conditions.BregFlag = false;
  LoadFilterExt(ini, conditions, settings);
  LoadFilter(ini, conditions);
  LoadFrame(ini, settings.Frame);
  conditions.FolderDetail = ReadBool(ini, kSearchListFileSection, "FolderExF", true);
}

void SaveProfile(IniFile& ini, const SearchConditions& conditions, const AppSettings& settings,
                 const HistoryList& locationBox, const HistoryList& patternBox) {
  SaveFrame(ini, settings.Frame);
  SaveRirekiMaximum(ini, settings);
  ini.DeleteSection(kValueSection);
  SaveHistory(ini, kValueSection, "Folder", settings.FolderMaximum, true,
              TextsWithoutPlaceholder(locationBox));
  SaveHistory(ini, kValueSection, "Pattern", settings.PatternMaximum, true,
              TextsWithoutPlaceholder(patternBox));
  SaveCondition(ini, conditions, settings);
  SaveFilterExt(ini, conditions, settings);
  SaveFilter(ini, conditions);
}

FrameRect PlaceFrame(const FrameSettings& frame, int designedWidth, int designedHeight, int workWidth,
                     int workHeight) {
  FrameRect rect;
  rect.width = std::max(std::min(frame.SizeW.value_or(designedWidth), workWidth), designedWidth);
  rect.height = std::max(std::min(frame.SizeH.value_or(designedHeight), workHeight), designedHeight);
  // In 64 bits: the stored edges are any 32-bit values.
  int64_t x = std::min<int64_t>(frame.IchiX.value_or(64), int64_t{workWidth} - rect.width);
  int64_t y = std::min<int64_t>(frame.IchiY.value_or(64), int64_t{workHeight} - rect.height);
  rect.x = static_cast<int>(std::max<int64_t>(x, 0));
  rect.y = static_cast<int>(std::max<int64_t>(y, 0));
  return rect;
}
