// Parses arbitrary bytes as a command line, composes the record and parses the composed text again.
// Nothing may crash, and composing the second record must give the same text: the composer writes only
// what the parser reads back. Locations are left out of that comparison, because a location counts only
// while it names an existing entry, and the composer writes the first location even when a later one was
// the one found.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cmdline/apply_command_line.h"
#include "cmdline/command_line.h"
#include "cmdline/composer.h"

namespace {

constexpr int64_t kNow = 1715736030;  // a fixed "today": 2024-05-15

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CCommandLine first(kNow);
  first.Parse(text);
  (void)Compose(first);  // with its locations

  first.LocationGiven = false;
  std::string composed = Compose(first);
  CCommandLine second(kNow);
  second.Parse(composed);
  std::string again = Compose(second);
  if (again != composed) {
    fprintf(stderr, "round trip differs:\n  %s\n  %s\n", composed.c_str(), again.c_str());
    abort();
  }

  // The same bytes as the arguments of a start, split at every NUL, and applied as the main window does.
  std::vector<std::string> args;
  for (size_t begin = 0; begin <= text.size();) {
    size_t end = text.find('\0', begin);
    if (end == std::string::npos) end = text.size();
    args.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  SearchConditions conditions;
  HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
  // As native arguments: bytes code page 932 cannot hold take the native forms too.
  ApplyCommandLine(CommandLineTextFromArgs(args), conditions, locations, patterns, kNow);
  (void)Compose(BuildComposerRecord(conditions, locations.SelectedText(), patterns.SelectedText()));
  return 0;
}
