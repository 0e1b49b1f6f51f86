#include "search/locations.h"

#include <cstdlib>

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (prefix.empty() || text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// The user's own trash folder, read once.
const std::string& HomeTrash() {
  static const std::string trash = [] {
    const char* home = getenv("HOME");
    if (!home || !*home) return std::string();
    std::string path(home);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path + "/.local/share/Trash";
  }();
  return trash;
}

}  // namespace

bool IsTrashFolder(std::string_view path) {
  return StartsWithNoCase(path, "/.Trash") || StartsWithNoCase(path, HomeTrash());
}

bool IsInsideTrash(std::string_view location) {
  if (StartsWithNoCase(location, "/.Trash/")) return true;
  const std::string& home = HomeTrash();
  return !home.empty() && StartsWithNoCase(location, home + "/");
}
