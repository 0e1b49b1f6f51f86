// The folder the result lists show for a hit. With relative display ("SoutaiF") on and a search of one
// location, a hit's folder is shown relative to BasePath, the folder that location names; otherwise the
// lists show the full folder.
#pragma once

#include <string>
#include <string_view>

// True when the lists show display paths: relative display is on and the search had one location.
inline bool ShowsDisplayPath(bool soutaiF, bool singleLocation) {
  return soutaiF && singleLocation;
}

// The display path of a hit's folder: its path relative to BasePath, both taken as folders ("." for the
// location itself, "./sub" below it).
std::string DisplayPathOf(std::string_view folder, std::string_view basePath);

// What the folder column shows: the display path when `showDisplayPath`, else the folder.
inline const std::string& FolderShown(const std::string& folder, const std::string& displayPath,
                                      bool showDisplayPath) {
  return showDisplayPath ? displayPath : folder;
}
