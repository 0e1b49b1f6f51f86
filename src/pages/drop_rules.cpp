#include "pages/drop_rules.h"

#include "matching/mbcs.h"
#include "platform/cp932.h"

std::string CutCp932Text(std::string_view cp932, size_t limit) {
  size_t end = 0;
  while (end < cp932.size()) {
    const bool pair = matching::IsLeadByte(static_cast<unsigned char>(cp932[end])) && end + 1 < cp932.size();
    const size_t next = end + (pair ? 2 : 1);
    if (next > limit) break;
    end = next;
  }
  return std::string(cp932.substr(0, end));
}

std::string CutUtf8Text(std::string_view utf8, size_t limit) {
  size_t end = 0;
  for (size_t count = 0; end < utf8.size() && count < limit; ++count) {
    char32_t code;
    const int length = platform::Utf8SequenceAt(utf8, end, code);
    end += length > 0 ? static_cast<size_t>(length) : 1;
  }
  return std::string(utf8.substr(0, end));
}

std::string DroppedLocation(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return std::string(path);
}

std::string JoinDroppedLocations(const std::vector<std::string>& paths, std::string_view current,
                                 bool append) {
  std::string joined;
  // An empty box gives no empty first location.
  if (append && !current.empty()) joined = current;
  for (const std::string& path : paths) {
    if (!joined.empty()) joined += " | ";
    joined += DroppedLocation(path);
  }
  return joined;
}

std::optional<std::string> DroppedPatternName(const std::vector<std::string>& paths) {
  if (paths.size() != 1) return std::nullopt;
  const std::string location = DroppedLocation(paths.front());
  const size_t slash = location.rfind('/');
  std::string name = slash == std::string::npos ? location : location.substr(slash + 1);
  if (name.empty()) return std::nullopt;
  return name;
}
