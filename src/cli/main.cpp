// serquin-cli: the console front end. It applies Serquin's own command-line options to the start values
// of the conditions, resolves and validates them like the main window does, runs the search with the same
// engine and prints every hit as it arrives. With --profile=FILE it starts from the conditions and histories
// of a profile, as the main window does; with --save-profile it writes them back as a search start leaves
// them (without --profile=FILE, both go to the program's own profile).
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "app/history_list.h"
#include "app/profile_store.h"
#include "app/search_session.h"
#include "cli/console_notify.h"
#include "cli/hit_printer.h"
#include "cli/interrupt_watch.h"
#include "cli/usage.h"
#include "cmdline/apply_command_line.h"
#include "cmdline/composer.h"
#include "platform/cp932.h"
#include "platform/local_time.h"
#include "resources/strings.h"
#include "results/display_path.h"
#include "search/found.h"
#include "search/notify.h"

namespace {

constexpr int kExitHit = 0;
constexpr int kExitNoHit = 1;
constexpr int kExitError = 2;
constexpr int kExitInterrupted = 130;

struct CliOptions {
  OutputFormat format = OutputFormat::Grep;
  OutputEncoding encoding = OutputEncoding::Utf8;
  bool compose = false;
  bool progress = false;
  std::string profile;  // --profile=FILE, a native path; empty when not given
  bool saveProfile = false;
  std::vector<std::string> searchArgs;  // the program's own options, native (UTF-8)
};

void Fail(const char* message) {
  fprintf(stderr, "serquin-cli: %s\n", message);
}

// Splits the arguments into serquin-cli's own ("--...") and the program's options. Returns -1 to go on,
// or the exit status when the arguments already decide it.
int ParseArgs(int argc, char** argv, CliOptions& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.compare(0, 2, "--") != 0) {
      options.searchArgs.push_back(arg);
      continue;
    }
    if (arg == "--help") return fputs(kUsageText, stdout), kExitHit;
    if (arg == "--version") return fputs(kVersionText, stdout), kExitHit;
    if (arg == "--format=grep") {
      options.format = OutputFormat::Grep;
    } else if (arg == "--format=csv") {
      options.format = OutputFormat::Csv;
    } else if (arg == "--encoding=utf-8" || arg == "--encoding=utf8") {
      options.encoding = OutputEncoding::Utf8;
    } else if (arg == "--encoding=sjis" || arg == "--encoding=shift_jis" || arg == "--encoding=cp932") {
      options.encoding = OutputEncoding::Sjis;
    } else if (arg == "--compose") {
      options.compose = true;
    } else if (arg == "--progress") {
      options.progress = true;
    } else if (arg.compare(0, 10, "--profile=") == 0) {
      options.profile = arg.substr(10);
      if (options.profile.empty()) return Fail("--profile= needs a file name"), kExitError;
    } else if (arg == "--save-profile") {
      options.saveProfile = true;
    } else {
      fprintf(stderr, "serquin-cli: unknown option %s (see --help)\n", arg.c_str());
      return kExitError;
    }
  }
  return -1;
}

// What the main window does with its command line, then takes the boxes' texts into the conditions. The
// arguments stay native, so that a location or pattern code page 932 cannot hold arrives whole.
void ApplyArgs(const CliOptions& options, SearchConditions& conditions, HistoryList& locationBox,
               HistoryList& patternBox, int64_t now) {
  if (IsSingleLocationArgument(options.searchArgs)) {
    ApplySingleLocationArgument(options.searchArgs.front(), locationBox, conditions);
  } else if (!options.searchArgs.empty()) {
    ApplyCommandLine(CommandLineTextFromArgs(options.searchArgs), conditions, locationBox, patternBox, now);
  }
  conditions.FolderText = locationBox.SelectedText();
  conditions.PatternText = patternBox.SelectedText();
}

void ShowProgress(SearchSession& session, bool show) {
  std::string text;
  if (!show || !session.ReadProgress(text)) return;
  std::string shown = platform::Utf8FromCp932(text);
  if (shown.size() > 200) shown = "..." + shown.substr(shown.size() - 197);
  fprintf(stderr, "\r\x1b[K%s", shown.c_str());
}

struct RunResult {
  bool anyHit = false;
  bool endSeen = false;
  int endCode = kEndNormal;
  std::string endMessage;
};

// Prints one batch of notifications; records the end notification. Notifications of another search are
// dropped. The batch keeps its hit records, which the caller retires to the notification target.
void Handle(std::vector<Notification>& batch, SearchSession& session, HitPrinter& printer, bool progress,
            RunResult& result) {
  // The batch's hits count as handled once it is taken: the reader holds them, so the search may go on
  // while they are printed, and the count is updated once a batch, not once a hit.
  int hits = 0;
  for (const Notification& n : batch) hits += n.IsHit() && session.IsCurrent(n);
  if (hits > 0) session.HitHandled(hits);
  for (const Notification& n : batch) {
    if (!session.IsCurrent(n)) continue;
    if (const FOUND_M* text = TextHitOf(n)) {
      printer.Print(*text);
      result.anyHit = true;
    } else if (const FOUND_F* name = NameHitOf(n)) {
      printer.Print(*name);
      result.anyHit = true;
    } else if (n.msg == kMsgProgress) {
      ShowProgress(session, progress);
    } else if (n.msg == kMsgSearchEnd) {
      result.endSeen = true;
      result.endCode = EndCode(n);
      result.endMessage = EndMessage(n);
    }
    if (printer.Failed()) return;
  }
}

// A failed write of the hits: the search is stopped and the run ends with 2. A reader that went away
// (EPIPE, SIGPIPE ignored) is no error worth a message, as with grep.
int OutputFailed(SearchSession& session, const HitPrinter& printer) {
  session.Stop();
  if (printer.Error() != EPIPE) {
    fprintf(stderr, "serquin-cli: write error: %s\n", strerror(printer.Error()));
  }
  return kExitError;
}

// Runs the validated search and prints its hits; the exit status.
int RunSearch(const CliOptions& options, SearchConditions& conditions, const AppSettings& settings,
              HistoryList& locationBox, HistoryList& patternBox, ProfileStore* profile, int64_t now) {
  bool progress = options.progress && isatty(STDERR_FILENO);
  ConsoleNotify notify(progress);
  // Lines of UTF-8 files are printed as the files hold them, characters code page 932 lacks included.
  notify.WantUtf8Lines(options.format == OutputFormat::Grep && options.encoding == OutputEncoding::Utf8);
  InterruptWatch watch(notify);  // before the search starts its threads
  SearchSession session(notify);
  if (!session.Start(conditions, locationBox, patternBox, now)) {
    return Fail("the search could not be started"), kExitError;
  }
  // As a search start leaves them: the location and the search string are at the tops of their histories.
  std::string error;
  if (profile && !WriteProfile(*profile, conditions, settings, locationBox, patternBox, error)) {
    session.Stop();
    return Fail(error.c_str()), kExitError;
  }
  HitPrinter printer(stdout, options.format, options.encoding, conditions.SearchMoji,
                     conditions.SearchFolder && conditions.FolderDetail,
                     ShowsDisplayPath(settings.SoutaiF, session.SingleLocation()), conditions.BasePath);
  bool tty = isatty(STDOUT_FILENO);
  printer.Begin();
  RunResult result;
  std::vector<Notification> batch;
  while (!result.endSeen) {
    notify.TakeAll(batch, std::chrono::milliseconds(100));
    Handle(batch, session, printer, progress, result);
    notify.Retire(batch);
    if (tty) printer.Flush();
    if (printer.Failed()) return OutputFailed(session, printer);
    if (watch.Interrupted() && !result.endSeen) {
      session.Stop();
      notify.TakeAvailable(batch);
      Handle(batch, session, printer, false, result);
      notify.Retire(batch);
      break;
    }
  }
  session.Finish();
  if (progress) fputs("\r\x1b[K", stderr);
  if (!printer.Flush()) return OutputFailed(session, printer);
  if (watch.Interrupted() && !result.endSeen) return kExitInterrupted;
  if (result.endCode == kEndRegexFailed) {
    Fail(platform::Utf8FromCp932(result.endMessage).c_str());
    return kExitError;
  }
  return result.anyHit ? kExitHit : kExitNoHit;
}

}  // namespace

int main(int argc, char** argv) {
  setlocale(LC_ALL, "");
  // Output into a pipe or a file goes out in pieces of 64 KiB instead of the stream's default 4 KiB: a
  // hundred thousand hit lines then cost a few hundred writes, each of which may wake the reader, not
  // thousands. A terminal keeps its line buffering. Set before anything is written.
  static char outBuffer[64 * 1024];
  if (!isatty(STDOUT_FILENO)) setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
  CliOptions options;
  int early = ParseArgs(argc, argv, options);
  if (early >= 0) return early;

  int64_t now = platform::Now();
  SearchConditions conditions;
  ResetDateRange(conditions, now);
  AppSettings settings;
  HistoryList locationBox(HistoryKind::Location);
  HistoryList patternBox(HistoryKind::Pattern);
  ProfileStore profile;
  const bool useProfile = !options.profile.empty() || options.saveProfile;
  std::string error;
  if (useProfile && !ReadProfile(options.profile, options.saveProfile, profile, conditions, settings,
                                 locationBox, patternBox, error)) {
    if (profile.missing) {
      error += " (add --save-profile to create it)";
    }
    return Fail(error.c_str()), kExitError;
  }
  ApplyArgs(options, conditions, locationBox, patternBox, now);

  HitPrinter encoder(stdout, options.format, options.encoding, false, false, false, "");
  if (options.compose) {
    std::string line =
        Compose(BuildComposerRecord(conditions, conditions.FolderText, conditions.PatternText));
    std::string shown = encoder.Encode(line) + '\n';
    fwrite(shown.data(), 1, shown.size(), stdout);
    if (options.saveProfile && !WriteProfile(profile, conditions, settings, locationBox, patternBox, error)) {
      return Fail(error.c_str()), kExitError;
    }
    return kExitHit;
  }
  if (int message = ValidateSearch(conditions)) {
    Fail(LoadStringUtf8(message));
    return kExitError;
  }
  return RunSearch(options, conditions, settings, locationBox, patternBox,
                   options.saveProfile ? &profile : nullptr, now);
}
