#include "platform/file_type.h"

namespace platform {
namespace {

// "ファイル フォルダー"
constexpr std::string_view kFolderType =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x20\x83\x74\x83\x48\x83\x8b\x83\x5f\x81\x5b";
// " ファイル", after an extension
constexpr std::string_view kFileSuffix = "\x20\x83\x74\x83\x40\x83\x43\x83\x8b";
// "ファイル", for a name without an extension
constexpr std::string_view kPlainFile = kFileSuffix.substr(1);

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// True when name[i] starts a double-byte character (a lead byte followed by a trail byte).
bool IsPairAt(std::string_view name, size_t i) {
  return IsLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size() &&
         IsTrailByte(static_cast<unsigned char>(name[i + 1]));
}

// The offset just after the last "." that is a character of its own, or npos. Walking from the start keeps
// a trail byte from being taken for a character.
size_t ExtensionStart(std::string_view name) {
  size_t start = std::string_view::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsPairAt(name, i)) {
      ++i;
    } else if (name[i] == '.') {
      start = i + 1;
    }
  }
  return start;
}

}  // namespace

std::string FileTypeName(std::string_view cp932Name, bool isFolder) {
  if (isFolder) return std::string(kFolderType);
  size_t start = ExtensionStart(cp932Name);
  // A name ending in "." has no extension; a name whose only "." is its first byte (".bashrc") has the
  // rest as its extension, as the shell names such files.
  if (start == std::string_view::npos || start == cp932Name.size()) return std::string(kPlainFile);
  std::string type(cp932Name.substr(start));
  for (size_t i = 0; i < type.size(); ++i) {
    if (IsPairAt(type, i)) {
      ++i;  // the trail byte may look like a lower-case letter
    } else if (type[i] >= 'a' && type[i] <= 'z') {
      type[i] = static_cast<char>(type[i] - 'a' + 'A');
    }
  }
  type.append(kFileSuffix);
  return type;
}

}  // namespace platform
