// Applying a command line to the conditions and the two history boxes of the main window, the start-up
// rule for a single location argument, and the rebuild of a command-line text from POSIX arguments. The
// main window sets its kind buttons from the conditions afterwards and starts the search when told to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/history_list.h"
#include "search/search_conditions.h"

// Parses the text and applies every given option: locations and patterns go to the tops of their boxes,
// the given conditions are replaced. `now` is "today" for the date options. Returns false when a
// location, a pattern, a search kind and go were all given, so the caller starts a search at once;
// true otherwise.
bool ApplyCommandLine(const std::string& text, SearchConditions& conditions, HistoryList& locationBox,
                      HistoryList& patternBox, int64_t now);

// The command-line text for arguments the shell has already split (quotes removed): each argument stays
// one value. An argument of "-" and an ASCII letter keeps those two characters and escapes the rest with
// QuoteValue; any other argument is escaped whole. Arguments are joined by one blank.
std::string CommandTextFromArgs(const std::vector<std::string>& args);

// True when the start has exactly one argument and it does not begin with "-": it names a location.
bool IsSingleLocationArgument(const std::vector<std::string>& args);

// Start-up with a single location argument: when it names an existing entry, its long form goes to the top
// of the location box and is selected. Returns whether it did.
bool ApplySingleLocationArgument(const std::string& arg, HistoryList& locationBox);

// The text a second start hands to the running instance for a single location argument: "-b" and the
// long form, quoted like any value so that a "-" in the path survives; empty when the entry is not found.
std::string SingleLocationHandOverText(const std::string& arg);
