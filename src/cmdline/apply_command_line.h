// Applying a command line to the conditions and the two history boxes of the main window, the start-up
// rule for a single location argument, and the rebuild of a command-line text from POSIX arguments. The
// main window sets its kind buttons from the conditions afterwards and starts the search when told to.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/history_list.h"
#include "search/search_conditions.h"

// A command-line text in code page 932 and, when code page 932 cannot hold it whole (a folder named 한국,
// an emoji), the same text in its native UTF-8 form; `native` is empty otherwise.
struct CommandLineText {
  CommandLineText(std::string cp932Text = {}, std::string nativeText = {})
      : cp932(std::move(cp932Text)), native(std::move(nativeText)) {}
  std::string cp932;
  std::string native;
};

// What applying a command line asked of the front end.
struct AppliedCommandLine {
  // A location that exists, a pattern, a search kind and go were all given: the search starts at once.
  bool startSearch = false;
};

// Parses the text and applies every given option: locations and patterns go to the tops of their boxes,
// the given conditions are replaced. `now` is "today" for the date options. A location or pattern that
// code page 932 cannot hold reaches its box in code page 932 (with "?" in place of what it lacks) and its
// native form is kept in FolderNative / PatternNative, which the search uses while the box text is
// unchanged.
AppliedCommandLine ApplyCommandLine(const CommandLineText& text, SearchConditions& conditions,
                                    HistoryList& locationBox, HistoryList& patternBox, int64_t now);

// The command-line text of arguments the shell has already split, in both forms: the arguments are native
// (UTF-8) strings; `native` is filled when code page 932 cannot hold one of them whole.
CommandLineText CommandLineTextFromArgs(const std::vector<std::string>& nativeArgs);

// The command-line text for arguments the shell has already split (quotes removed): each argument stays
// one value. An argument of "-" and an ASCII letter keeps those two characters and escapes the rest with
// QuoteValue; any other argument is escaped whole. Arguments are joined by one blank.
std::string CommandTextFromArgs(const std::vector<std::string>& args);

// True when the start has exactly one argument and it does not begin with "-": it names a location.
bool IsSingleLocationArgument(const std::vector<std::string>& args);

// Start-up with a single location argument (native form): when it names an existing entry, its long form
// goes to the top of the location box and is selected; a long form that code page 932 cannot hold is kept
// in `conditions.FolderNative` as well. Returns whether it did.
bool ApplySingleLocationArgument(const std::string& nativeArg, HistoryList& locationBox,
                                 SearchConditions& conditions);

// The text a second start hands to the running instance for a single location argument: "-b" and the
// long form, quoted like any value so that a "-" in the path survives; empty when the entry is not found.
std::string SingleLocationHandOverText(const std::string& arg);
