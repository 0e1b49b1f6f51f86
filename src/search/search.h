// The search driver: one search described by a SearchRequest, run on a worker thread. It prepares the
// matchers, normalises the locations, walks each location to the requested depth, filters every entry,
// and either queues files for the scanning thread (text search) or matches entry names (file and folder
// search), reporting through the request's NotifyTarget.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include "platform/file_buffer.h"
#include "search/filters.h"
#include "search/notify.h"
#include "search/scan_queue.h"

namespace matching {
class CSboymoo;
class CBreg;
class CUtf8Matcher;
}  // namespace matching
class NotifyTarget;
struct SearchRequest;
struct SearchShared;
struct HitFile;
struct FileText;
struct FOUND_M;
class ScanOrder;
namespace platform {
class DirReader;
struct EntryStatus;
}  // namespace platform

// The matchers of one search. Only one search runs at a time; the walking and the scanning thread share
// this set through the search that owns it.
struct Matchers {
  std::unique_ptr<matching::CSboymoo> sjis;
  std::unique_ptr<matching::CSboymoo> euc;
  std::unique_ptr<matching::CSboymoo> jis;
  std::unique_ptr<matching::CSboymoo> utf8;
  std::unique_ptr<matching::CBreg> regex;
  // Unicode text (UTF-8 files, and UTF-16 files when code page 932 cannot hold the search string) where
  // code page 932 cannot stand in for the search string: it cannot hold it, or it has a twin character.
  std::unique_ptr<matching::CUtf8Matcher> unicode;
  // Native names, without case, when code page 932 cannot hold the search string.
  std::unique_ptr<matching::CUtf8Matcher> nativeNames;
  // False when code page 932 cannot hold the search string: no code-page-932 matcher exists, and text in
  // Shift-JIS, EUC-JP or JIS gives no hit.
  bool cp932Holds = true;
  // The UTF-8 form of the search string converts back to exactly its Shift-JIS form. Then a raw match of
  // the UTF-8 form in UTF-8 text is a line that the confirmation in Shift-JIS would report: the match
  // starts on a character boundary (its first byte is no continuation byte), its characters convert one by
  // one to the Shift-JIS form, and the converted line is whole characters, so that form starts on one of
  // them. Unless the Shift-JIS comparison would fold letters, the confirmation can be left out.
  bool utf8RawIsHit = false;
  Matchers();
  ~Matchers();
};

// Files longer than this are searched in their first kLargestScannedFile bytes (2^31 - 17).
constexpr uint64_t kLargestScannedFile = 2147483631;

// What the walking thread and the scanning thread both need.

class CSearchBase {
 public:
  CSearchBase(NotifyTarget& notify, SearchShared& shared, ScanQueue& queue, const Matchers& matchers,
              int charCode, bool ignoreCase, bool regex, bool folderDetail, uint64_t search);
  virtual ~CSearchBase();

  // The scanning thread's loop: scans queued files until the end marker (returns 0) or the stop event
  // (returns 1). With an order, several scanning threads run side by side and post in queue order.
  int ScanThreadProc(ScanOrder* order = nullptr);
  // Reads one file into the buffer and scans it.
  void ScanFile(const std::string& nativePath);
  // Scans a file's text (read into `text`) and posts a FOUND_M per matching line.
  void ScanText(const std::string& nativePath, char* text, const FileText& file);

 protected:
  // Stores the progress text (code page 932) and notifies, unless the front end is reading it.
  void SetCurrentFolder(std::string_view cp932Text);
  void SetCurrentFolderNative(std::string_view nativePath);
  // Adds a text hit of the current file to the hits it keeps, and posts them once they make a run;
  // true when the search is to stop (the stop event was seen while throttled).
  bool PostTextHit(std::shared_ptr<const HitFile> file, std::string lineText, int lineNumber, int charCode,
                   std::string_view utf8Line = {});
  // Posts the current file's kept hits when it is the head of the order (or when it keeps too many and
  // its turn has come); true when the search is to stop.
  bool FlushHits();
  // Posts a run of hits as one (emptying `hits`) and accounts for them; true when the search is to stop.
  bool PostHits(std::vector<Notification>& hits);
  // Accounts for `posted` posted hits; true when the stop event was seen while waiting for the front end.
  bool Throttle(int posted = 1);
  bool StopRequested() const;

  NotifyTarget& notify_;
  SearchShared& shared_;
  ScanQueue& queue_;
  const Matchers& matchers_;
  const int charCode_;
  const bool ignoreCase_;
  const bool regex_;
  const bool folderDetail_;
  const bool utf8Lines_;      // the front end wants the lines of UTF-8 files as they stand
  const bool utf8LinesOnly_;  // ... and nothing else of them: their code page 932 form may stay empty
  const bool progress_;       // the front end shows the current-folder text
  const uint64_t search_;     // the identity every notification of this search carries

 private:
  friend class TextScanner;
  // The current file is done: its kept hits are posted, or passed on with its place in the order.
  void FinishFile();

  platform::FileBuffer buffer_;  // file buffer, reused and only ever grown
  int postCounter_ = 0;
  // A file's hits are kept and posted in runs of postRun_ (and at the file's end, and when a stretch of
  // text without a hit has passed), so that a hit costs no lock and no wake-up of the front end of its own.
  // The run follows the front end's backlog: a window that takes hits one message at a time gets them in
  // runs of 16, as its throttle counts them; a reader that takes hundreds per wake-up gets runs of 256.
  const size_t postRun_;
  // Scanning side by side: the hits of a file that is not yet the head of the order are kept (up to
  // kMostKept, then the scanner waits for its turn) and posted once every file before it is done.
  static constexpr size_t kMostKept = 4096;
  ScanOrder* order_ = nullptr;
  uint64_t place_ = 0;  // the current file's place in the order
  bool head_ = true;    // the current file is known to be the head: its runs go out as they fill
  std::vector<Notification> kept_;
  // Records the front end handed back (NotifyTarget::Reclaim), written over by new hits; a few runs' worth
  // is kept, so that the memory they hold stays small.
  std::vector<std::unique_ptr<FOUND_M>> spares_;
};

class CSearch : public CSearchBase {
 public:
  // Copies what the walk needs out of the request (the locations are moved).
  CSearch(SearchRequest& request, const Matchers& matchers);
  ~CSearch() override;

  // Runs the text search over all locations; 1 when stopped, else 0.
  int SearchText();
  // Runs the file and folder search over all locations; 1 when stopped, else 0.
  int SearchName();
  // Normalises several locations: unlimited depth drops nested ones, limited depth expands them.
  void NormaliseLocations();

  // Location normalisation, exposed for tests.
  static void DropNestedLocations(std::vector<std::string>& locations);
  void ExpandLocations();
  const std::vector<std::string>& Locations() const { return locations_; }

 private:
  struct Walk;
  // The per-location loop shared by both searches: calls `walk` with each location's walk origin.
  template <typename WalkFn>
  int ForEachLocation(WalkFn walk);

  int WalkText(platform::DirReader& dir, const std::string& folder, int level);
  int WalkName(platform::DirReader& dir, const std::string& folder, int level, uint64_t& size, int& files,
               int& folders);
  int CountFolder(platform::DirReader& dir, const std::string& folder, uint64_t& size, int& files,
                  int& folders);
  // The single entry a location names (level 1): the same steps as one entry of a folder walk.
  int WalkTextEntry(const std::string& path);
  int WalkNameEntry(const std::string& path, uint64_t& size, int& files, int& folders);

  // Adds the entries a location yields at `level` (and below, within the depth) to `found`, once each.
  void Collect(const std::string& path, int level, std::vector<std::string>& found,
               std::unordered_set<std::string>& seen);
  // Whether an entry's name holds the search string; `nativeName` is the same name as the file system
  // spells it.
  bool NameMatches(std::string_view nativeName, const char* cp932Name) const;
  // The date, size and attribute tests; `size` is the length compared (a folder's accumulated size).
  bool PassesStatusFilters(const platform::EntryStatus& status, uint64_t size) const;
  void PostNameHit(int kind, std::string_view cp932Name, const std::string& folder, const std::string& path,
                   const platform::EntryStatus& status, uint64_t size, int files, int folders);

  std::vector<std::string> locations_;
  bool textSearch_;
  bool fileSearch_;
  bool folderSearch_;
  int depth_;
  ExtSet textExts_;
  ExtSet fileExts_;
  bool textAll_;
  bool fileAll_;
  TimeRange createdRange_;
  TimeRange writtenRange_;
  ByteRange sizeRange_;
  AttrConditions attributes_;
  bool filtersNeedStatus_;
  // File sizes are added up only when a folder hit carries them or the size filter tests them.
  bool needFileSizes_;
  ScanQueue queue_;
  std::unique_ptr<ScanOrder> scanOrder_;  // text search with several scanning threads
  std::vector<std::thread> scanThreads_;
  mutable std::string foldedName_;  // the walking thread's scratch for native name matching
};

// The worker thread's entry: runs the whole search and takes ownership of the request. Returns 0 when the
// search ran to its end (or did nothing), 1 when it was stopped or the regular expression failed.
int SearchThreadProc(std::unique_ptr<SearchRequest> request);
