#include "app/search_session.h"

#include <atomic>
#include <memory>

#include "matching/mbcs.h"
#include "platform/cp932.h"
#include "platform/dir_reader.h"
#include "platform/paths.h"
#include "resources/strings.h"
#include "search/notify.h"
#include "search/search.h"
#include "search/search_request.h"

using matching::IsTrailAt;

namespace {

// Outside double quotes ";" separates locations as "|" does; inside them it is part of a path. The
// quotes themselves are dropped. The text is split in its native (UTF-8) form, where "|" is never part of
// a character: in code page 932 it is the second byte of characters such as "ポ".
std::vector<std::string> SplitLocationText(const std::string& text) {
  std::string joined;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else {
      joined += (c == ';' && !quoted) ? '|' : c;
    }
  }
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t bar = joined.find('|');; start = bar + 1, bar = joined.find('|', start)) {
    std::string piece = joined.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    size_t first = piece.find_first_not_of(" \t");
    size_t last = piece.find_last_not_of(" \t");
    if (first != std::string::npos) pieces.push_back(piece.substr(first, last - first + 1));
    if (bar == std::string::npos) break;
  }
  return pieces;
}

std::string ToCp932(const std::string& native) {
  return platform::IsAscii(native) ? native : platform::Cp932FromUtf8(native);
}

// Looks up one piece (native). A piece ending in "/" names the entries of a folder, which must exist as a
// folder; any other piece names an existing entry.
bool ResolvePiece(const std::string& piece, std::vector<std::string>& locations, std::string& basePath) {
  if (piece.find('\0') != std::string::npos) return false;
  std::optional<std::string> found = platform::ExpandLongPath(piece);
  if (!found) return false;
  if (piece.back() != '/') {
    basePath = ToCp932(*found);
    locations.push_back(std::move(*found));
    return true;
  }
  platform::EntryStatus status;
  bool isFolder = false, isLink = false;
  if (!platform::StatPath(*found, status, isFolder, isLink) || !isFolder) return false;
  std::string folder = found->size() > 1 ? found->substr(0, found->size() - 1) : *found;
  basePath = ToCp932(folder);
  locations.push_back(std::move(*found));
  return true;
}

}  // namespace

bool ResolveLocations(const std::string& nativeText, std::vector<std::string>& locations,
                      std::string& basePath) {
  locations.clear();
  bool allFound = true;
  for (const std::string& piece : SplitLocationText(nativeText)) {
    if (!ResolvePiece(piece, locations, basePath)) allFound = false;
  }
  return allFound && !locations.empty();
}

void DropStaleNativeForms(SearchConditions& c) {
  if (!c.FolderNative.empty() && platform::Cp932FromUtf8(c.FolderNative) != c.FolderText)
    c.FolderNative.clear();
  if (!c.PatternNative.empty() && platform::Cp932FromUtf8(c.PatternNative) != c.PatternText) {
    c.PatternNative.clear();
  }
}

std::string NativeFolderText(const SearchConditions& c) {
  return !c.FolderNative.empty() ? c.FolderNative : platform::Utf8FromCp932(c.FolderText);
}

int ValidateSearch(SearchConditions& c) {
  DropStaleNativeForms(c);
  if (c.FolderText.empty()) return IDS_LOCATION_EMPTY;
  c.BasePath.clear();
  if (!ResolveLocations(NativeFolderText(c), c.Locations, c.BasePath)) return IDS_LOCATION_UNKNOWN;
  if (!c.SearchMoji && !c.SearchFile && !c.SearchFolder) return IDS_KINDS_ALL_OFF;
  if (c.PatternText.empty() && c.SearchMoji && !c.SearchFile && !c.SearchFolder) return IDS_PATTERN_EMPTY;
  return 0;
}

bool EndsInBlank(const std::string& pattern) {
  size_t n = pattern.size();
  if (n >= 1 && pattern[n - 1] == ' ') return true;
  // The full-width space must be a character of its own, not the trail of one and a "@" after it.
  return n >= 2 && static_cast<unsigned char>(pattern[n - 2]) == 0x81 &&
         static_cast<unsigned char>(pattern[n - 1]) == 0x40 &&
         !IsTrailAt(pattern.c_str(), pattern.c_str() + n - 2);
}

int SearchSession::Validate(SearchConditions& conditions) {
  return ValidateSearch(conditions);
}

bool SearchSession::Start(SearchConditions& conditions, HistoryList& locationBox, HistoryList& patternBox,
                          int64_t now) {
  // Identities are unique in the process, so that two sessions (two windows in a test) never mix.
  static std::atomic<uint64_t> lastSearch{0};
  Stop();
  locationBox.PushFront(conditions.FolderText);
  patternBox.PushFront(conditions.PatternText);
  singleLocation_ = conditions.Locations.size() < 2;
  search_ = ++lastSearch;
  shared_.stop.Reset();
  shared_.pending.Reset();
  try {
    std::unique_ptr<SearchRequest> request = BuildSearchRequest(conditions, notify_, shared_, now);
    request->searchId = search_;
    worker_ = std::thread(SearchThreadProc, std::move(request));
  } catch (...) {
    // A request that cannot be built or a thread that cannot be started: no search runs.
    return false;
  }
  return true;
}

void SearchSession::Stop() {
  if (worker_.joinable()) {
    shared_.stop.Set();
    worker_.join();
  }
  notify_.DropPending(kMsgProgress);
}
