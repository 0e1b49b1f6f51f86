// The short type name shown for a hit, standing in for the shell's registered type names.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// In code page 932: "ファイル フォルダー" for a folder; the extension after the last "." in capitals
// followed by " ファイル" ("TXT ファイル"); "ファイル" for a name without an extension.
std::string FileTypeName(std::string_view cp932Name, bool isFolder);

}  // namespace platform
