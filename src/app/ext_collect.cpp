#include "app/ext_collect.h"

#include <algorithm>

#include "search/filters.h"

namespace {

// Insertion-ordered set: the extensions are few, so a linear look-up is enough.
void AddOnce(std::vector<std::string>& set, std::string ext) {
  if (std::find(set.begin(), set.end(), ext) == set.end()) set.push_back(std::move(ext));
}

void AddPiecesOf(std::string text, std::vector<std::string>& set) {
  if (text.empty() || text.back() != ';') text += ';';
  size_t start = 0;
  for (size_t semicolon = text.find(';'); semicolon != std::string::npos;
       start = semicolon + 1, semicolon = text.find(';', start)) {
    std::string entry = NormaliseExtEntry(text.substr(start, semicolon - start));
    if (entry.size() <= kMaxExtLength) AddOnce(set, std::move(entry));
  }
}

}  // namespace

std::string CollectExtensions(const std::string& current, bool keepCurrent,
                              const std::vector<DroppedEntry>& dropped) {
  std::vector<std::string> set;
  if (keepCurrent) AddPiecesOf(current, set);
  for (const DroppedEntry& entry : dropped) {
    if (!entry.found || entry.folder || entry.name == "." || entry.name == "..") continue;
    AddOnce(set, ExtensionOf(entry.name));
  }
  std::string text;
  for (size_t i = 0; i < set.size(); ++i) {
    const std::string bare = set[i].substr(1);
    text += bare;
    if (i + 1 < set.size() || bare.empty()) text += ';';
  }
  return text;
}
