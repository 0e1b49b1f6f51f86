// Path helpers in POSIX syntax: "/" separates and is the one root. They work on bytes, so they serve
// native (UTF-8) paths and code-page-932 texts alike ("/" is never part of a double-byte character).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// folder + "/" + name, without doubling a "/" that ends the folder. An empty folder gives the name.
std::string JoinPath(std::string_view folder, std::string_view name);

// The path of folder `to` relative to folder `from`, both absolute and both taken as folders: "." for the
// same folder, "./sub/x" for one inside it, "../other" or "../../x" for one outside. Empty when either
// path is not absolute.
std::string RelativePath(std::string_view from, std::string_view to);

// The long form of a path: made absolute against the working folder and normalised (no ".", "..", or
// repeated "/"), after checking that it exists. A trailing "/" is kept, because it means "the entries of
// this folder". No value when the path is empty or does not exist.
std::optional<std::string> ExpandLongPath(std::string_view path);

// The last component of a path ("" for "/"), and the folder before it without a trailing "/" ("/" for an
// entry of the root, "" when the path has no "/").
std::string_view LastComponent(std::string_view path);
std::string_view ParentFolder(std::string_view path);

}  // namespace platform
