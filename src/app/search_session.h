// The front end's side of a search, free of any toolkit: resolving the location text, validating the
// input, and starting and stopping the worker thread. The main window and serquin-cli both use it.
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "app/history_list.h"
#include "search/notify.h"
#include "search/search_conditions.h"
#include "search/shared_state.h"

// Splits the location text (native form) into locations and looks each up: `locations` receives native
// paths ("/a/b" for a named entry, "/a/b/" for the entries of a folder), `basePath` the base of the
// relative display (code page 932). False when a piece cannot be found or no location results.
bool ResolveLocations(const std::string& nativeText, std::vector<std::string>& locations,
                      std::string& basePath);

// A native form that is no longer the conversion of its code-page-932 text (the user has edited the box
// since) is dropped.
void DropStaleNativeForms(SearchConditions& conditions);

// The location text to resolve: FolderNative when it is set, else FolderText in UTF-8.
std::string NativeFolderText(const SearchConditions& conditions);

// Checks the input before a search in the order the user is told about it; fills Locations and BasePath.
// Returns 0 when the search may start, else the number of the message to show (224 to 227).
int ValidateSearch(SearchConditions& conditions);

// True when the search string ends in a blank: an ASCII space or the full-width space (0x81 0x40).
bool EndsInBlank(const std::string& pattern);

// One search at a time: the start sequence both front ends share, the worker thread and the state it
// shares with the front end. A front end calls Validate, asks its own questions (the window's trailing-blank
// question), then Start; it hands every notification it receives to IsCurrent before acting on it.
class SearchSession {
 public:
  explicit SearchSession(NotifyTarget& notify) : notify_(notify) {}
  ~SearchSession() { Stop(); }
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  // The search command's checks (ValidateSearch): resolves the locations into `conditions.Locations` and
  // `BasePath`. Returns 0 when the search may start, else the number of the message to show (224 to 227).
  int Validate(SearchConditions& conditions);
  // Starts a validated search: the location and the search string go to the tops of their histories, the
  // single-location flag is set, and the request (which takes the resolved locations out of the conditions)
  // is handed to a new worker. False when it could not be started (nothing runs then).
  bool Start(SearchConditions& conditions, HistoryList& locationBox, HistoryList& patternBox, int64_t now);
  // Asks a running search to stop and waits for the worker to end; queued progress notifications are
  // dropped. Hit notifications already posted stay queued and are still delivered.
  void Stop();
  // After the end notification: waits for the worker (which has finished its work) to end.
  void Finish() { Stop(); }
  // The front end calls this once for every hit notification it handles.
  void HitHandled(int hits = 1) { shared_.pending.Handled(hits); }
  // The current-folder text, when the search side is not writing it right now.
  bool ReadProgress(std::string& text) { return shared_.progress.TryRead(text); }
  SearchShared& Shared() { return shared_; }

  // Fewer than two locations were resolved for the last search started: its hits may be shown relative to
  // BasePath.
  bool SingleLocation() const { return singleLocation_; }
  // True when the notification belongs to the last search started. Anything else was left in the queue by
  // an earlier search and must be dropped (its record freed) without touching the lists or the state.
  bool IsCurrent(const Notification& n) const { return n.search == search_ && search_ != 0; }
  uint64_t CurrentSearch() const { return search_; }

 private:
  NotifyTarget& notify_;
  SearchShared shared_;
  std::thread worker_;
  uint64_t search_ = 0;  // identity of the last search started; 0 before the first
  bool singleLocation_ = true;
};
