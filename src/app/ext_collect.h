// The extension list an extension box shows after files were dropped on it: the extensions of the
// dropped files, optionally added to the list the box already holds.
#pragma once

#include <string>
#include <vector>

// One dropped path as the file system reported it.
struct DroppedEntry {
  std::string name;     // its file name, code page 932
  bool found = false;   // it exists
  bool folder = false;  // it is a folder
};

// The new text of the box, or empty when it is to stay as it was. With `keepCurrent` (Shift held), the
// pieces of `current` come first, normalised as an extension list reads them ("*.HTML" → html, an
// empty piece → the no-extension entry). Then the extension of every dropped file that was found and is
// no folder ("." and ".." skipped). Each extension appears once, in first-seen order, written without its
// dot and joined by ";"; the no-extension entry is an empty piece, so it always has a ";" after it.
std::string CollectExtensions(const std::string& current, bool keepCurrent,
                              const std::vector<DroppedEntry>& dropped);
