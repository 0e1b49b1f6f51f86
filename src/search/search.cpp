#include "search/search.h"
#include "search/scan_order.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "matching/breg.h"
#include "matching/mbcs.h"
#include "matching/sboymoo.h"
#include "matching/utf8_matcher.h"
#include "platform/cp932.h"
#include "platform/dir_reader.h"
#include "platform/paths.h"
#include "search/found.h"
#include "search/locations.h"
#include "search/notify.h"
#include "search/search_request.h"
#include "search/shared_state.h"

using matching::CBreg;
using matching::CSboymoo;
using matching::IsTrailAt;

Matchers::Matchers() = default;
Matchers::~Matchers() = default;

CSearchBase::CSearchBase(NotifyTarget& notify, SearchShared& shared, ScanQueue& queue,
                         const Matchers& matchers, int charCode, bool ignoreCase, bool regex,
                         bool folderDetail, uint64_t search)
    : notify_(notify),
      shared_(shared),
      queue_(queue),
      matchers_(matchers),
      charCode_(charCode),
      ignoreCase_(ignoreCase),
      regex_(regex),
      folderDetail_(folderDetail),
      utf8Lines_(notify.WantsUtf8Lines()),
      utf8LinesOnly_(utf8Lines_ && notify.TakesUtf8LinesOnly()),
      progress_(notify.WantsProgress()),
      search_(search),
      buffer_(kLargestScannedFile + 2),
      postRun_(static_cast<size_t>(std::clamp(notify.Backlog().waitAbove / 16, 16, 256))) {}

CSearchBase::~CSearchBase() = default;

bool CSearchBase::StopRequested() const {
  return shared_.stop.IsSet();
}

void CSearchBase::SetCurrentFolder(std::string_view cp932Text) {
  if (progress_) shared_.progress.Set(cp932Text, notify_, search_);
}

void CSearchBase::SetCurrentFolderNative(std::string_view nativePath) {
  // Every scanned file sets the text: not even its conversion is made when nobody shows it.
  if (!progress_) return;
  SetCurrentFolder(platform::IsAscii(nativePath) ? std::string(nativePath)
                                                 : platform::Cp932FromUtf8(nativePath));
}

bool CSearchBase::Throttle(int posted) {
  postCounter_ += posted;
  if (postCounter_ < 16) return false;
  const int batch = postCounter_;
  postCounter_ = 0;
  return shared_.pending.AddBatch(batch, notify_.Backlog(), shared_.stop, [this] { notify_.Flush(); });
}

bool CSearchBase::PostTextHit(std::shared_ptr<const HitFile> file, std::string lineText, int lineNumber,
                              int charCode, std::string_view utf8Line) {
  std::unique_ptr<FOUND_M> hit;
  if (spares_.empty()) {
    hit = MakeTextHit(std::move(file), lineNumber, std::move(lineText), charCode, utf8Line);
  } else {
    hit = std::move(spares_.back());
    spares_.pop_back();
    FillTextHit(*hit, std::move(file), lineNumber, std::move(lineText), charCode, utf8Line);
  }
  kept_.push_back(TextHitNotification(std::move(hit), search_));
  return kept_.size() >= postRun_ && FlushHits();
}

bool CSearchBase::FlushHits() {
  if (kept_.empty()) return false;
  if (!head_) {
    if (!order_->IsHead(place_)) {
      if (kept_.size() < kMostKept) return false;
      if (!order_->WaitForHead(place_, shared_.stop)) return true;
    }
    // Every file before this one is done: from now on this file posts its runs as they fill.
    head_ = true;
  }
  return PostHits(kept_);
}

bool CSearchBase::PostHits(std::vector<Notification>& hits) {
  const int count = static_cast<int>(hits.size());
  notify_.PostAll(hits, shared_.stop);
  if (spares_.size() < postRun_) notify_.Reclaim(spares_, 4 * postRun_);
  return Throttle(count);
}

CSearch::CSearch(SearchRequest& request, const Matchers& matchers)
    : CSearchBase(*request.notify, *request.shared, queue_, matchers, request.charCode, request.ignoreCase,
                  request.regex, request.folderDetail, request.searchId),
      locations_(std::move(request.locations)),
      textSearch_(request.TextOn),
      fileSearch_(request.fileSearch),
      folderSearch_(request.folderSearch),
      depth_(request.SearchDepth),
      textExts_(std::move(request.MojiExtSet)),
      fileExts_(std::move(request.FileExtSet)),
      textAll_(request.textAllExt),
      fileAll_(request.fileAllExt),
      createdRange_(request.CreatedRange),
      writtenRange_(request.WrittenRange),
      sizeRange_(request.SizeRange),
      attributes_(request.attributes),
      filtersNeedStatus_(!createdRange_.IsOpen() || !writtenRange_.IsOpen() || !sizeRange_.IsOpen() ||
                         !attributes_.IsOpen()),
      needFileSizes_(folderSearch_ && (folderDetail_ || !sizeRange_.IsOpen())) {
  request.locations.clear();
}

CSearch::~CSearch() {
  // A scanning thread still running (an exception left SearchText early) is told to stop and waited for.
  if (!scanThreads_.empty()) {
    shared_.stop.Set();
    for (std::thread& thread : scanThreads_) thread.join();
  }
  queue_.Clear();
}

void CSearch::NormaliseLocations() {
  if (locations_.size() < 2) return;
  if (depth_ == kUnlimitedDepth) {
    DropNestedLocations(locations_);
  } else {
    ExpandLocations();
  }
}

namespace {

// A regular-expression match that starts on the second byte of a double-byte character is no match;
// matching resumes one byte after its start.
bool RegexMatchesName(CBreg& regex, const char* name) {
  const char* end = name + strlen(name);
  for (const char* start = name; start <= end;) {
    const char* matchStart = nullptr;
    const char* matchEnd = nullptr;
    if (regex.Match(start, end, &matchStart, &matchEnd) <= 0 || !matchStart) return false;
    if (!IsTrailAt(name, matchStart)) return true;
    start = matchStart + 1;
  }
  return false;
}

}  // namespace

bool CSearch::NameMatches(std::string_view nativeName, const char* name) const {
  if (matchers_.nativeNames) return matchers_.nativeNames->Holds(nativeName, foldedName_);
  if (matchers_.regex) return RegexMatchesName(*matchers_.regex, name);
  // A match that starts on the second byte of a double-byte character is no match; look on from the
  // next byte.
  for (const char* start = name;;) {
    const char* hit = matchers_.sjis->FindNoCaseMbcs(start);
    if (!hit) return false;
    if (!IsTrailAt(name, hit)) return true;
    start = hit + 1;
  }
}

namespace {

// The matchers of a plain search string. One that code page 932 cannot hold is looked for only where its
// own characters can stand: in Unicode text and native names.
void MakePlainMatchers(const SearchRequest& request, Matchers& matchers) {
  const int code = request.charCode;
  const bool names = request.fileSearch || request.folderSearch;
  if (!request.patternNative.empty()) {
    matchers.cp932Holds = false;
    // UTF-8 and UTF-16 files arise only from detection.
    if (request.TextOn && code == kCodeAuto)
      matchers.unicode = std::make_unique<matching::CUtf8Matcher>(request.patternNative, request.ignoreCase);
    if (names) matchers.nativeNames = std::make_unique<matching::CUtf8Matcher>(request.patternNative, true);
    return;
  }
  matchers.sjis = std::make_unique<CSboymoo>(request.patternSjis.c_str());
  if (code == 1 || code == 3) matchers.euc = std::make_unique<CSboymoo>(request.patternEuc.c_str());
  if (code == 2 || code == 3) matchers.jis = std::make_unique<CSboymoo>(request.patternJis.c_str());
  if (code == 3) {
    matchers.utf8 = std::make_unique<CSboymoo>(request.patternUtf8.c_str());
    matchers.utf8RawIsHit =
        !request.patternSjis.empty() && platform::Cp932FromUtf8(request.patternUtf8) == request.patternSjis;
  }
  // Either Unicode form of a twin character matches in UTF-8 files; most search strings have none and
  // keep the raw search of their one UTF-8 form.
  if (code == 3 && request.TextOn && matching::HasTwinCharacter(request.patternUtf8))
    matchers.unicode = std::make_unique<matching::CUtf8Matcher>(request.patternUtf8, request.ignoreCase);
}

}  // namespace

int SearchThreadProc(std::unique_ptr<SearchRequest> request) {
  NotifyTarget& notify = *request->notify;
  const platform::Event& stop = request->shared->stop;
  const uint64_t search = request->searchId;
  if (!request->TextOn && !request->fileSearch && !request->folderSearch) {
    request.reset();
    notify.Post(EndNotification(kEndNormal, search));
    return 0;
  }
  try {
    Matchers matchers;
    if (request->regex && !request->patternNative.empty()) {
      request.reset();
      notify.Post(EndNotification(kEndRegexFailed, search, matching::kMessageRegexNotInCodePage));
      return 1;
    }
    if (request->regex) {
      matchers.regex = std::make_unique<CBreg>();
      // Names are always matched without case; lines as the user chose.
      bool ignoreCase = request->TextOn ? request->ignoreCase : true;
      if (matchers.regex->Compile(request->patternSjis, ignoreCase)) {
        std::string message = matchers.regex->Message();
        request.reset();
        matchers.regex.reset();
        notify.Post(EndNotification(kEndRegexFailed, search, std::move(message)));
        return 1;
      }
    } else {
      MakePlainMatchers(*request, matchers);
    }
    {
      CSearch search(*request, matchers);
      bool text = request->TextOn;
      bool names = request->fileSearch || request->folderSearch;
      request.reset();
      search.NormaliseLocations();
      if (text && search.SearchText() == 1) return 1;
      if (names && search.SearchName() == 1) return 1;
    }
  } catch (...) {
    // An internal failure (an allocation) abandons the search; the end notification still tells the front
    // end that nothing more will come.
  }
  // A search the front end stopped never reports an end: the front end knows it stopped it.
  if (stop.IsSet()) return 1;
  notify.Post(EndNotification(kEndNormal, search));
  return 0;
}
