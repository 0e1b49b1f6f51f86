// The profile reader and writer on any bytes: parsing never fails, a written key reads back, a deleted
// section is gone, the written text parses to itself, and a profile loaded, saved and loaded again gives
// the same values as the first load.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_file.h"
#include "app/profile.h"

namespace {

constexpr char kAbsent[] =
    "\x01"
    "absent";

void Check(bool condition) {
  if (!condition) abort();
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

struct Loaded {
  SearchConditions c;
  AppSettings s;
  HistoryList locations{HistoryKind::Location};
  HistoryList patterns{HistoryKind::Pattern};
};

Loaded Load(const IniFile& ini) {
  Loaded l;
  LoadProfile(ini, l.c, l.s, l.locations, l.patterns, [] { return true; });
  return l;
}

std::vector<std::string> Fields(const Loaded& l) {
  const SearchConditions& c = l.c;
  const AppSettings& s = l.s;
  std::vector<int64_t> numbers = {c.SearchMoji,
                                  c.SearchFile,
                                  c.SearchFolder,
                                  c.FolderDetail,
                                  c.DepthDrawF,
                                  c.SubFolder,
                                  c.Depth,
                                  c.ConvertFlag,
                                  c.LetterClassify,
                                  c.BregFlag,
                                  c.MojiAll,
                                  c.FileAll,
                                  c.TimeKind,
                                  c.RangeKind,
                                  c.PastDay,
                                  c.PastTime,
                                  c.SizeMin,
                                  c.SizeMax,
                                  c.SizeMinUnit,
                                  c.SizeMaxUnit,
                                  c.AttrReadonly,
                                  c.AttrHidden,
                                  c.AttrSystem,
                                  c.AttrArchived,
                                  s.RirekiKind,
                                  s.PatternMaximum,
                                  s.FolderMaximum,
                                  s.MojiExtMaximum,
                                  s.FileExtMaximum,
                                  s.OptionTab,
                                  s.WhiteCheck,
                                  s.SoutaiF,
                                  s.MutexF,
                                  s.Frame.ViewerY,
                                  s.Frame.TemaeF,
                                  s.Frame.SizeW.value_or(-99999),
                                  s.Frame.IchiY.value_or(-99999)};
  std::vector<std::string> fields;
  for (int64_t n : numbers) fields.push_back(std::to_string(n));
  for (uint32_t colour : s.CustomIro) fields.push_back(std::to_string(colour));
  for (const std::string* text :
       {&c.PatternText, &c.FolderText, &s.EditorFile, &s.EditorParam, &s.WaveFile, &s.CsvFile}) {
    fields.push_back(*text);
  }
  for (const auto& list : {c.MojiExtList, c.FileExtList, l.locations.Texts(), l.patterns.Texts()}) {
    fields.push_back("--");
    fields.insert(fields.end(), list.begin(), list.end());
  }
  return fields;
}

// The first bytes choose a section, a key and a value to write and a section to delete.
void EditAndCheck(IniFile& ini, std::string_view ops) {
  if (ops.size() < 4) return;
  size_t sectionLength = static_cast<unsigned char>(ops[0]) % 8;
  size_t keyLength = static_cast<unsigned char>(ops[1]) % 8;
  ops.remove_prefix(2);
  std::string section(ops.substr(0, sectionLength));
  ops.remove_prefix(std::min(sectionLength, ops.size()));
  std::string key(ops.substr(0, keyLength));
  ops.remove_prefix(std::min(keyLength, ops.size()));
  std::string value(ops.substr(0, 16));
  if (ini.WriteString(section, key, value)) {
    Check(ini.ReadString(section, key, kAbsent) == TrimBlanks(value));
    IniFile reread(ini.Text());
    Check(reread.ReadString(section, key, kAbsent) == TrimBlanks(value));
  }
  ini.ReadInt(section, key, 7);
  ini.DeleteSection(section);
  Check(ini.ReadString(section, key, kAbsent) == kAbsent);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini(bytes);
  std::string text = ini.Text();
  Check(IniFile(text).Text() == text);

  Loaded first = Load(ini);
  IniFile saved(ini);
  SaveProfile(saved, first.c, first.s, first.locations, first.patterns);
  Check(Fields(Load(saved)) == Fields(first));
  Check(Fields(Load(IniFile(saved.Text()))) == Fields(first));

  EditAndCheck(ini, bytes.substr(0, 64));
  return 0;
}
