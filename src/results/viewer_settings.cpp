#include "results/viewer_settings.h"

#include <cstdio>
#include <unordered_map>

#include "matching/mbcs.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace {

constexpr char kViewerSection[] = "Viewer Section";
constexpr char kViewerFixSection[] = "ViewerFix Section";

int Clamp255(int value) {
  return value < 0 ? 0 : value > 255 ? 255 : value;
}

std::string Numbered(const char* base, int n) {
  char key[32];
  std::snprintf(key, sizeof key, "%s%d", base, n);
  return key;
}

std::string Decimal(long long value, const char* format = "%lld") {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The path as the file system names it when it exists (absolute, without "." or ".." or a trailing "/"),
// else as written.
std::string ResolvedFixPath(const std::string& path) {
  const std::optional<std::string> expanded = platform::ExpandLongPath(platform::Utf8FromCp932(path));
  if (!expanded) return path;
  std::string full = *expanded;
  // A folder is named without the "/" that ends it, as the hits' folders are.
  while (full.size() > 1 && full.back() == '/') full.pop_back();
  return platform::Cp932FromUtf8(full);
}

// The keys of the overrides' section by their lower-cased names (key names ignore case; the first of
// repeated keys is the one read), taken in one pass: the section may hold thousands of entries.
class FixSection {
 public:
  explicit FixSection(const IniFile& ini) {
    for (auto& [key, value] : ini.ReadSection(kViewerFixSection)) {
      matching::MbsLowerAscii(key);
      values_.emplace(std::move(key), std::move(value));
    }
  }
  // The value of a present key (empty ones included), or nothing for an absent one: what reading the key
  // with an empty default and with an absent-key sentinel default tells apart.
  const std::string* Find(std::string key) const {
    matching::MbsLowerAscii(key);
    auto it = values_.find(key);
    return it == values_.end() ? nullptr : &it->second;
  }
  // The key read as the profile reads integers, `absent` when absent or empty.
  int Int(const std::string& key, int absent) const {
    const std::string* value = Find(key);
    if (value == nullptr || value->empty()) return absent;
    // The profile's own integer reading (sign, digits, 32-bit wrap).
    return IniFile("[s]\nk=" + *value + "\n").ReadInt("s", "k", absent);
  }

 private:
  std::unordered_map<std::string, std::string> values_;
};

void LoadFixMap(const IniFile& ini, std::map<std::string, int>& fixMap) {
  fixMap.clear();
  const FixSection section(ini);
  for (int n = 0;; ++n) {
    const std::string* path = section.Find(Numbered("Fix", n));
    if (path == nullptr) break;  // the first absent key ends the list
    const int flag = section.Int(Numbered("FixFlag", n), VIEWER_NONE);
    fixMap[ResolvedFixPath(*path)] = flag >= VIEWER_ALL && flag <= VIEWER_HR ? flag : VIEWER_NONE;
  }
}

}  // namespace

void LoadViewerSettings(const IniFile& ini, ViewerSettings& viewer) {
  viewer.ViewerRangeView = ini.ReadInt(kViewerSection, "ViewerRangeView", 1) != 0;
  const int range = ini.ReadInt(kViewerSection, "ViewerRange", VIEWER_LINES);
  viewer.ViewerRange = range >= VIEWER_ALL && range <= VIEWER_HR ? range : VIEWER_LINES;
  viewer.ViewerMae = Clamp255(ini.ReadInt(kViewerSection, "ViewerMae", 0));
  viewer.ViewerAto = Clamp255(ini.ReadInt(kViewerSection, "ViewerAto", 5));
  viewer.ViewerLookIro = static_cast<uint32_t>(ini.ReadInt(kViewerSection, "ViewerLookIro", 255));
  LoadFixMap(ini, viewer.FixMap);
}

void SaveViewerSettings(IniFile& ini, const ViewerSettings& viewer) {
  ini.WriteString(kViewerSection, "ViewerRangeView", Decimal(viewer.ViewerRangeView ? 1 : 0));
  ini.WriteString(kViewerSection, "ViewerRange", Decimal(viewer.ViewerRange));
  ini.WriteString(kViewerSection, "ViewerMae", Decimal(viewer.ViewerMae));
  ini.WriteString(kViewerSection, "ViewerAto", Decimal(viewer.ViewerAto));
  ini.WriteString(kViewerSection, "ViewerLookIro", Decimal(viewer.ViewerLookIro, "%llu"));
  ini.DeleteSection(kViewerFixSection);
  if (viewer.FixMap.empty()) return;
  // The section is written as text and read back with the rest of the profile, in one pass: a key at a
  // time would search the section anew for each of thousands of entries.
  std::string section = "[" + std::string(kViewerFixSection) + "]\r\n";
  int n = 0;
  for (const auto& [path, flag] : viewer.FixMap) {
    // A path the file cannot hold (a line break) is left out rather than leave a gap in the numbering.
    if (path.find_first_of("\r\n") != std::string::npos) continue;
    section += Numbered("Fix", n) + "=" + path + "\r\n" + Numbered("FixFlag", n) + "=" + Decimal(flag) + "\r\n";
    ++n;
  }
  std::string text = ini.Text();
  // A blank line keeps the section apart from the one before it.
  if (!text.empty() && !text.ends_with("\r\n\r\n")) text += "\r\n";
  ini = IniFile(text + section);
}
