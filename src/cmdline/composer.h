// The composer: turns an options record back into command-line text in the grammar the parser reads, so
// the user can keep the current conditions in a shortcut or a script.
#pragma once

#include <string>
#include <string_view>

#include "cmdline/command_line.h"
#include "search/search_conditions.h"

// Escapes a free-text value: "&" becomes "&amp;", a double quote "&quot;", and a value holding a "-" or a
// blank is enclosed in double quotes. The parser undoes exactly this, apart from blanks at either end,
// which it trims.
std::string QuoteValue(std::string_view text);

// The record as option pieces separated by single blanks; only given options appear.
std::string Compose(const CCommandLine& record);

// The record for the current conditions: every option given except go, so the composed line never starts
// a search by itself. The location and pattern are the boxes' texts as typed, not the resolved locations.
CCommandLine BuildComposerRecord(const SearchConditions& conditions, const std::string& locationText,
                                 const std::string& patternText);
