#include "search/filters.h"

#include "matching/mbcs.h"
#include "platform/dir_reader.h"

using matching::MbsLower;
using matching::MbsRChr;

namespace {

void TrimTrailingBlanks(std::string& text) {
  size_t end = text.find_last_not_of(" \t\r\n\v\f");
  text.erase(end == std::string::npos ? 0 : end + 1);
}

}  // namespace

std::string NormaliseExtEntry(std::string entry) {
  TrimTrailingBlanks(entry);
  if (entry.compare(0, 2, "*.") == 0) {
    entry.erase(0, 1);
  } else if (entry.empty() || entry[0] != '.') {
    entry.insert(0, 1, '.');
  }
  MbsLower(entry);
  return entry;
}

bool BuildExtSet(const std::vector<std::string>& list, bool all, ExtSet& set) {
  std::string text = list.empty() ? std::string() : list.front();
  if (text.empty() || text.back() != ';') text += ';';
  set.clear();
  size_t start = 0;
  for (size_t semicolon = text.find(';'); semicolon != std::string::npos;
       start = semicolon + 1, semicolon = text.find(';', start)) {
    std::string entry = NormaliseExtEntry(text.substr(start, semicolon - start));
    if (entry == ".*") {
      set.clear();
      return true;
    }
    if (entry.size() <= kMaxExtLength) set.insert(std::move(entry));
  }
  return all;
}

std::string ExtensionOf(std::string_view name) {
  std::string copy(name);
  const char* dot = MbsRChr(copy.c_str(), '.');
  if (!dot) return ".";
  std::string ext(dot);
  MbsLower(ext);
  return ext;
}

bool MatchesExt(std::string_view name, const ExtSet& set) {
  return set.count(ExtensionOf(name)) != 0;
}

bool MatchesDate(int64_t created, int64_t written, const TimeRange& createdRange, const TimeRange& writtenRange) {
  return createdRange.from <= created && created <= createdRange.to && writtenRange.from <= written &&
         written <= writtenRange.to;
}

bool MatchesSize(uint64_t size, const ByteRange& range) {
  return range.min <= size && size <= range.max;
}

namespace {

bool MatchesOne(uint32_t attributes, uint32_t bit, int condition) {
  if (condition == 1) return (attributes & bit) != 0;
  if (condition == 2) return (attributes & bit) == 0;
  return true;
}

}  // namespace

bool MatchesAttr(uint32_t attributes, const AttrConditions& c) {
  return MatchesOne(attributes, platform::kAttrReadonly, c.readonly) &&
         MatchesOne(attributes, platform::kAttrHidden, c.hidden) &&
         MatchesOne(attributes, platform::kAttrSystem, c.system) &&
         MatchesOne(attributes, platform::kAttrArchive, c.archived);
}
