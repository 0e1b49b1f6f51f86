// Rules about search locations and the folders a walk must not enter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// True for a trash folder, which a walk never enters: a path beginning with "/.Trash" or with the user's
// "$HOME/.local/share/Trash" (compared without case, by prefix, so "/.Trash-1000" counts too).
bool IsTrashFolder(std::string_view nativePath);

// True for a location that lies inside a trash folder ("/.Trash/..." or "$HOME/.local/share/Trash/..."):
// such a location is skipped.
bool IsInsideTrash(std::string_view location);
