// The front end's side of a search, free of any toolkit: resolving the location text, validating the
// input, and starting and stopping the worker thread. The main window and serquin-cli both use it.
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "search/search_conditions.h"
#include "search/shared_state.h"

class NotifyTarget;

// Splits the location text into locations and looks each up: `locations` receives native paths ("/a/b"
// for a named entry, "/a/b/" for the entries of a folder), `basePath` the base of the relative display
// (code page 932). False when a piece cannot be found or no location results.
bool ResolveLocations(const std::string& folderText, std::vector<std::string>& locations,
                      std::string& basePath);

// Checks the input before a search in the order the user is told about it; fills Locations and BasePath.
// Returns 0 when the search may start, else the number of the message to show (224 to 227).
int ValidateSearch(SearchConditions& conditions);

// True when the search string ends in a blank: an ASCII space or the full-width space (0x81 0x40).
bool EndsInBlank(const std::string& pattern);

// One search at a time: the worker thread and the state it shares with the front end.
class SearchSession {
 public:
  explicit SearchSession(NotifyTarget& notify) : notify_(notify) {}
  ~SearchSession() { Stop(); }
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  // Builds the request from validated conditions (the locations are moved out) and starts the worker.
  // False when it could not be started (nothing runs then).
  bool Start(SearchConditions& conditions, int64_t now);
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

 private:
  NotifyTarget& notify_;
  SearchShared shared_;
  std::thread worker_;
};
