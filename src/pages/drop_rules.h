// What a drop on the main window's boxes puts into them: dropped text cut to the boxes' limit, dropped
// paths joined into a location list, a dropped file's name as a search string. Plain functions, so the
// window's drop handling only picks the box and the data format.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Dropped text is cut to this many bytes (code page 932 text) or characters (Unicode text).
inline constexpr size_t kDropTextLimit = 260;

// The first `limit` bytes of a code page 932 text, one byte fewer when the cut would split a
// double-byte character.
std::string CutCp932Text(std::string_view cp932, size_t limit = kDropTextLimit);

// The first `limit` characters (code points) of a UTF-8 text; a sequence that is not well-formed
// counts one character per byte.
std::string CutUtf8Text(std::string_view utf8, size_t limit = kDropTextLimit);

// A dropped path as a location: trailing "/" removed, except from the root itself.
std::string DroppedLocation(std::string_view path);

// The location box's text after dropping `paths` (in drop order): the locations joined with " | ".
// With `append` (Shift held down) the box's `current` text and " | " come first, unless it is empty.
std::string JoinDroppedLocations(const std::vector<std::string>& paths, std::string_view current,
                                 bool append);

// The search-string box's text after dropping `paths`: the name of a single dropped file or folder (the
// part after the last "/"); nothing when several, none, or a name that is empty (the root).
std::optional<std::string> DroppedPatternName(const std::vector<std::string>& paths);
