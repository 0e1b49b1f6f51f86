#include "cmdline/apply_command_line.h"

#include <optional>

#include "cmdline/command_line.h"
#include "cmdline/composer.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Search kinds, extension list and the switch-offs that go implies.
void ApplyKinds(const CCommandLine& r, SearchConditions& c) {
  if (r.Text || r.File || r.Folder) {
    c.SearchMoji = r.Text;
    c.SearchFile = r.File;
    c.SearchFolder = r.Folder;
  }
  if (r.ExtensionGiven) {
    // Prepended as given, like the main window does: the head entry is the one in force.
    if (r.Text) {
      c.MojiExtList.insert(c.MojiExtList.begin(), r.ExtensionText);
      c.MojiAll = false;
    }
    if (r.File || r.Folder) {
      c.FileExtList.insert(c.FileExtList.begin(), r.ExtensionText);
      c.FileAll = false;
    }
  }
  if (r.Go) {
    if (!r.ExtensionGiven && r.File) c.FileAll = true;
    c.TimeFilter = 0;
    c.SizeKind = 0;
  }
}

// The locations and patterns of the native text, for those that code page 932 cannot hold: each is given
// to the box in code page 932 while its native form is kept for the search. The last of each kind is the
// one the box shows afterwards, so it decides the native form in force. A location found only by its
// native name still counts as given.
void ApplyNativeForms(const std::string& nativeText, int64_t now, CCommandLine& record, SearchConditions& c) {
  CCommandLine native(now, CommandTextForm::kNative);
  native.Parse(nativeText);
  // The two texts split into the same tokens; anything else means the native one is not the same line.
  if (native.Locations.size() != record.Locations.size() ||
      native.Patterns.size() != record.Patterns.size()) {
    return;
  }
  for (size_t i = 0; i < native.Locations.size(); ++i) {
    if (platform::Cp932CanHold(native.Locations[i])) continue;
    record.Locations[i] = platform::Cp932FromUtf8(native.Locations[i]);
    record.LocationGiven = record.LocationGiven || native.LocationGiven;
  }
  if (!native.Locations.empty()) {
    const std::string& last = native.Locations.back();
    c.FolderNative = platform::Cp932CanHold(last) ? std::string() : last;
  }
  if (!native.Patterns.empty()) {
    const std::string& last = native.Patterns.back();
    c.PatternNative = platform::Cp932CanHold(last) ? std::string() : last;
  }
}

void ApplyOptions(const CCommandLine& r, SearchConditions& c) {
  if (r.SubFolderGiven) {
    c.DepthDrawF = r.SubFolder >= 0;
    if (r.SubFolder < 0) {
      c.SubFolder = r.SubFolder == kAllSubFolders;
    } else {
      c.Depth = r.SubFolder;
    }
  }
  if (r.CaseGiven) c.LetterClassify = r.IgnoreCase;
  if (r.CodeGiven) c.ConvertFlag = r.Code;
  if (r.ReadonlyGiven) c.AttrReadonly = r.Readonly;
  if (r.HiddenGiven) c.AttrHidden = r.Hidden;
  if (r.SystemGiven) c.AttrSystem = r.System;
  if (r.ArchiveGiven) c.AttrArchived = r.Archive;
  if (r.RegexGiven) c.BregFlag = r.Regex;
}

// Runs after go, so that a date or size given on the same line is switched on again.
void ApplyDateAndSize(const CCommandLine& r, SearchConditions& c) {
  if (r.DateGiven) {
    c.TimeFilter = r.TimeFilter;
    c.TimeKind = r.TimeKind;
    c.RangeKind = r.RangeKind;
    c.DateFrom = r.DateFrom;
    c.DateTo = r.DateTo;
    c.WholeDay = r.WholeDay;
    c.PastDay = r.PastDay;
    c.PastTime = r.PastTime;
  }
  if (r.SizeGiven) {
    c.SizeKind = r.SizeKind;
    c.SizeMin = r.SizeMin;
    c.SizeMax = r.SizeMax;
    c.SizeMinUnit = r.SizeMinUnit;
    c.SizeMaxUnit = r.SizeMaxUnit;
  }
}

}  // namespace

AppliedCommandLine ApplyCommandLine(const CommandLineText& text, SearchConditions& conditions,
                                    HistoryList& locationBox, HistoryList& patternBox, int64_t now) {
  CCommandLine record(now);
  record.Parse(text.cp932);
  if (!text.native.empty()) ApplyNativeForms(text.native, now, record, conditions);
  for (const std::string& location : record.Locations) locationBox.PushFront(location);
  for (const std::string& pattern : record.Patterns) patternBox.PushFront(pattern);
  ApplyKinds(record, conditions);
  ApplyOptions(record, conditions);
  ApplyDateAndSize(record, conditions);
  bool anyKind = record.Text || record.File || record.Folder;
  return {record.LocationGiven && record.PatternGiven && record.Go && anyKind};
}

CommandLineText CommandLineTextFromArgs(const std::vector<std::string>& nativeArgs) {
  std::vector<std::string> cp932Args;
  bool lossless = true;
  for (const std::string& arg : nativeArgs) {
    cp932Args.push_back(platform::IsAscii(arg) ? arg : platform::Cp932FromUtf8(arg));
    lossless = lossless && (platform::IsAscii(arg) || platform::Cp932CanHold(arg));
  }
  return {CommandTextFromArgs(cp932Args), lossless ? std::string() : CommandTextFromArgs(nativeArgs)};
}

std::string CommandTextFromArgs(const std::vector<std::string>& args) {
  std::string text;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (i > 0) text += ' ';
    if (arg.size() >= 2 && arg[0] == '-' && IsAsciiLetter(arg[1])) {
      text += arg.substr(0, 2) + QuoteValue(std::string_view(arg).substr(2));
    } else {
      text += QuoteValue(arg);
    }
  }
  return text;
}

bool IsSingleLocationArgument(const std::vector<std::string>& args) {
  return args.size() == 1 && (args[0].empty() || args[0][0] != '-');
}

bool ApplySingleLocationArgument(const std::string& nativeArg, HistoryList& locationBox,
                                 SearchConditions& conditions) {
  if (nativeArg.empty() || nativeArg.find('\0') != std::string::npos) return false;
  std::optional<std::string> expanded = platform::ExpandLongPath(nativeArg);
  if (!expanded) return false;
  locationBox.PushFront(platform::IsAscii(*expanded) ? *expanded : platform::Cp932FromUtf8(*expanded));
  conditions.FolderNative = platform::Cp932CanHold(*expanded) ? std::string() : *expanded;
  return true;
}

std::string SingleLocationHandOverText(const std::string& arg) {
  std::optional<std::string> expanded = ExpandLocation(arg);
  return expanded ? "-b" + QuoteValue(*expanded) : std::string();
}
