// The folder walks of CSearch: the per-location loop, the text walk that feeds the scan queue, the name
// walk with its folder counters, and the normalisation of several locations.
#include <algorithm>
#include <unordered_set>

#include "platform/cores.h"
#include "platform/cp932.h"
#include "platform/dir_reader.h"
#include "platform/paths.h"
#include "search/found.h"
#include "search/locations.h"
#include "search/notify.h"
#include "search/scan_order.h"
#include "search/search.h"
#include "search/search_request.h"
#include "search/shared_state.h"

namespace {

// The code-page-932 form of a native name; ASCII names (nearly all) are used as they are.
const char* Cp932Name(std::string_view name, std::string& buffer) {
  if (platform::IsAscii(name)) return name.data();  // a directory entry's name is NUL-terminated
  buffer = platform::Cp932FromUtf8(name);
  return buffer.c_str();
}

std::string ToCp932(std::string_view native) {
  return platform::IsAscii(native) ? std::string(native) : platform::Cp932FromUtf8(native);
}

// "/a/b/" stands for the entries of folder "/a/b"; "/" for those of the root.
std::string FolderOfEntries(const std::string& location) {
  return location.size() > 1 ? location.substr(0, location.size() - 1) : location;
}

}  // namespace

template <typename WalkFn>
int CSearch::ForEachLocation(WalkFn walk) {
  for (const std::string& location : locations_) {
    if (location.empty() || IsInsideTrash(location)) continue;
    bool entries = location.back() == '/';
    // A location naming a folder's entries holds level-2 entries, so depth 0 searches nothing there.
    if (entries && depth_ < 1) continue;
    SetCurrentFolderNative(location);
    if (walk(location, entries) == 1) return 1;
  }
  return 0;
}

int CSearch::SearchText() {
  // Plain strings are scanned by one thread per core the process may use (two at most: reading is the
  // larger part of the work and two readers already keep the disk cache busy); on one core a second
  // scanner would only take turns with the first. The regular-expression library keeps match state in
  // its compiled expression, so an expression is scanned by one thread.
  const unsigned scanners = regex_ ? 1 : std::min(platform::UsableCores(), 2u);
  if (scanners > 1) scanOrder_ = std::make_unique<ScanOrder>();
  for (unsigned i = 0; i < scanners; ++i) {
    scanThreads_.emplace_back([this] {
      CSearchBase scanner(notify_, shared_, queue_, matchers_, charCode_, ignoreCase_, regex_, folderDetail_,
                          search_);
      scanner.ScanThreadProc(scanOrder_.get());
    });
  }
  int result = ForEachLocation([this](const std::string& location, bool entries) {
    if (!entries) return WalkTextEntry(location);
    platform::DirReader dir;
    std::string folder = FolderOfEntries(location);
    return dir.Open(folder) ? WalkText(dir, folder, 2) : 0;
  });
  queue_.Push(std::string(), shared_.stop);
  for (std::thread& thread : scanThreads_) thread.join();
  scanThreads_.clear();
  scanOrder_.reset();
  queue_.Clear();
  SetCurrentFolder("");
  // The walk may be over long before the scanning: a stop that only the scanners saw is a stop all the same.
  return result == 1 || StopRequested() ? 1 : 0;
}

int CSearch::SearchName() {
  int result = ForEachLocation([this](const std::string& location, bool entries) {
    uint64_t size = 0;
    int files = 0, folders = 0;
    if (!entries) return WalkNameEntry(location, size, files, folders);
    platform::DirReader dir;
    std::string folder = FolderOfEntries(location);
    return dir.Open(folder) ? WalkName(dir, folder, 2, size, files, folders) : 0;
  });
  SetCurrentFolder("");
  return result;
}

bool CSearch::PassesStatusFilters(const platform::EntryStatus& status, uint64_t size) const {
  return MatchesDate(status.created, status.written, createdRange_, writtenRange_) &&
         MatchesSize(size, sizeRange_) && MatchesAttr(status.attributes, attributes_);
}

int CSearch::WalkText(platform::DirReader& dir, const std::string& folder, int level) {
  std::string nameBuffer;
  while (dir.Next()) {
    if (StopRequested()) return 1;
    std::string_view name = dir.Name();
    if (dir.IsFolder()) {
      if (level > depth_ || dir.IsLink()) continue;
      std::string path = platform::JoinPath(folder, name);
      if (IsTrashFolder(path)) continue;
      SetCurrentFolderNative(path);
      platform::DirReader child;
      if (child.OpenChild(dir, name) && WalkText(child, path, level + 1) == 1) return 1;
      continue;
    }
    if (!textAll_ && !MatchesExt(Cp932Name(name, nameBuffer), textExts_)) continue;
    if (filtersNeedStatus_ && !PassesStatusFilters(dir.Status(), dir.Status().size)) continue;
    queue_.Push(platform::JoinPath(folder, name), shared_.stop);
  }
  return 0;
}

int CSearch::WalkTextEntry(const std::string& path) {
  if (StopRequested()) return 1;
  platform::EntryStatus status;
  bool isFolder = false, isLink = false;
  if (!platform::StatPath(path, status, isFolder, isLink)) return 0;
  if (isFolder) {
    // A folder named as a location is entered even when it is a link: the user asked for it.
    if (1 > depth_ || IsTrashFolder(path)) return 0;
    SetCurrentFolderNative(path);
    platform::DirReader dir;
    return dir.Open(path) ? WalkText(dir, path, 2) : 0;
  }
  std::string nameBuffer;
  if (!textAll_ && !MatchesExt(Cp932Name(platform::LastComponent(path), nameBuffer), textExts_)) return 0;
  if (PassesStatusFilters(status, status.size)) queue_.Push(path, shared_.stop);
  return 0;
}

void CSearch::PostNameHit(int kind, std::string_view cp932Name, const std::string& folder,
                          const std::string& path, const platform::EntryStatus& status, uint64_t size,
                          int files, int folders) {
  auto hit = MakeNameHit(kind, cp932Name, ToCp932(folder), path, status, size, files, folders, folderDetail_);
  notify_.Post(NameHitNotification(std::move(hit), search_));
  // A name hit ignores a stop seen while throttled: the walk notices the stop event at its next entry.
  Throttle();
}

int CSearch::WalkName(platform::DirReader& dir, const std::string& folder, int level, uint64_t& size,
                      int& files, int& folders) {
  std::string nameBuffer;
  while (dir.Next()) {
    if (StopRequested()) return 1;
    std::string_view name = dir.Name();
    if (!dir.IsFolder()) {
      files += 1;
      if (needFileSizes_) size += dir.Status().size;
      if (!fileSearch_) continue;
      const char* cp932 = Cp932Name(name, nameBuffer);
      if (!fileAll_ && !MatchesExt(cp932, fileExts_)) continue;
      if (!NameMatches(name, cp932)) continue;
      const platform::EntryStatus& status = dir.Status();
      if (!PassesStatusFilters(status, status.size)) continue;
      PostNameHit(2, cp932, folder, platform::JoinPath(folder, name), status, status.size, 0, 0);
      continue;
    }
    folders += 1;
    uint64_t localSize = 0;
    int localFiles = 0, localFolders = 0;
    std::string path = platform::JoinPath(folder, name);
    // A folder reached through a link is never entered, so a link can never lead the walk in a circle.
    bool enter = level <= depth_ && !dir.IsLink() && !IsTrashFolder(path);
    if (enter || (folderDetail_ && !dir.IsLink())) {
      SetCurrentFolderNative(path);
      platform::DirReader child;
      if (child.OpenChild(dir, name)) {
        int stopped = enter ? WalkName(child, path, level + 1, localSize, localFiles, localFolders)
                            : CountFolder(child, path, localSize, localFiles, localFolders);
        if (stopped == 1) return 1;
      }
      size += localSize;
      files += localFiles;
      folders += localFolders;
    }
    if (!folderSearch_) continue;
    const platform::EntryStatus& status = dir.Status();
    if (!PassesStatusFilters(status, localSize)) continue;
    const char* cp932 = Cp932Name(name, nameBuffer);
    if (NameMatches(name, cp932))
      PostNameHit(4, cp932, folder, path, status, localSize, localFiles, localFolders);
  }
  return 0;
}

int CSearch::CountFolder(platform::DirReader& dir, const std::string& folder, uint64_t& size, int& files,
                         int& folders) {
  while (dir.Next()) {
    if (StopRequested()) return 1;
    if (!dir.IsFolder()) {
      size += dir.Status().size;
      files += 1;
      continue;
    }
    folders += 1;
    if (dir.IsLink()) continue;
    std::string path = platform::JoinPath(folder, dir.Name());
    SetCurrentFolderNative(path);
    platform::DirReader child;
    if (child.OpenChild(dir, dir.Name()) && CountFolder(child, path, size, files, folders) == 1) return 1;
  }
  return 0;
}

int CSearch::WalkNameEntry(const std::string& path, uint64_t& size, int& files, int& folders) {
  if (StopRequested()) return 1;
  platform::EntryStatus status;
  bool isFolder = false, isLink = false;
  if (!platform::StatPath(path, status, isFolder, isLink)) return 0;
  std::string nameBuffer;
  // The name is the tail of a std::string, so it is NUL-terminated as the matcher needs.
  const std::string_view nativeName = platform::LastComponent(path);
  const char* cp932 = Cp932Name(nativeName, nameBuffer);
  std::string parent(platform::ParentFolder(path));
  if (!isFolder) {
    files += 1;
    size += status.size;
    if (!fileSearch_ || (!fileAll_ && !MatchesExt(cp932, fileExts_)) || !NameMatches(nativeName, cp932))
      return 0;
    if (PassesStatusFilters(status, status.size))
      PostNameHit(2, cp932, parent, path, status, status.size, 0, 0);
    return 0;
  }
  folders += 1;
  uint64_t localSize = 0;
  int localFiles = 0, localFolders = 0;
  bool enter = 1 <= depth_ && !IsTrashFolder(path);
  if (enter || folderDetail_) {
    SetCurrentFolderNative(path);
    platform::DirReader dir;
    if (dir.Open(path)) {
      int stopped = enter ? WalkName(dir, path, 2, localSize, localFiles, localFolders)
                          : CountFolder(dir, path, localSize, localFiles, localFolders);
      if (stopped == 1) return 1;
    }
  }
  if (folderSearch_ && PassesStatusFilters(status, localSize) && NameMatches(nativeName, cp932)) {
    PostNameHit(4, cp932, parent, path, status, localSize, localFiles, localFolders);
  }
  return 0;
}

void CSearch::DropNestedLocations(std::vector<std::string>& locations) {
  // Locations compare with case: on this platform two spellings that differ in case are two folders.
  for (size_t i = 0; i < locations.size(); ++i) {
    for (size_t j = 0; j < locations.size(); ++j) {
      if (i == j || locations[i].empty() || locations[j].empty()) continue;
      std::string& a = locations[i];
      std::string& b = locations[j];
      if (a == b) {
        (i < j ? a : b).clear();
        continue;
      }
      const std::string& shorter = a.size() < b.size() ? a : b;
      std::string& longer = a.size() < b.size() ? b : a;
      if (longer.compare(0, shorter.size(), shorter) == 0 &&
          (shorter.back() == '/' || longer[shorter.size()] == '/')) {
        longer.clear();
      }
    }
  }
  std::erase_if(locations, [](const std::string& location) { return location.empty(); });
}

void CSearch::Collect(const std::string& path, int level, std::vector<std::string>& found,
                      std::unordered_set<std::string>& seen) {
  auto add = [&](std::string entry) {
    if (seen.insert(entry).second) found.push_back(std::move(entry));
  };
  auto walkFolder = [&](const std::string& folder, int entryLevel) {
    platform::DirReader dir;
    if (!dir.Open(folder)) return;
    // A stop leaves the collection unfinished; the walk that follows sees the stop at once.
    while (dir.Next() && !StopRequested()) {
      std::string entry = platform::JoinPath(folder, dir.Name());
      if (!dir.IsFolder()) {
        if (fileSearch_ || textSearch_) add(entry);
        continue;
      }
      if (folderSearch_) add(entry);
      if (entryLevel <= depth_ && !dir.IsLink() && !IsTrashFolder(entry))
        Collect(entry + "/", entryLevel + 1, found, seen);
    }
  };
  if (path.back() == '/') {
    walkFolder(FolderOfEntries(path), level);
    return;
  }
  platform::EntryStatus status;
  bool isFolder = false, isLink = false;
  if (!platform::StatPath(path, status, isFolder, isLink)) return;
  if (!isFolder) {
    if (fileSearch_ || textSearch_) add(path);
    return;
  }
  if (folderSearch_) add(path);
  if (level <= depth_ && !IsTrashFolder(path)) walkFolder(path, level + 1);
}

void CSearch::ExpandLocations() {
  // The expanded entries are searched in the order they were first met, location by location; an entry
  // that two locations share is searched once.
  std::vector<std::string> found;
  std::unordered_set<std::string> seen;
  for (const std::string& location : locations_) {
    if (location.empty() || IsInsideTrash(location)) continue;
    bool entries = location.back() == '/';
    if (entries && depth_ < 1) continue;
    Collect(location, entries ? 2 : 1, found, seen);
  }
  locations_ = std::move(found);
  depth_ = 0;
}
