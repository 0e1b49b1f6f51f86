#include "cmdline/apply_command_line.h"

#include <optional>

#include "cmdline/command_line.h"
#include "cmdline/composer.h"

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

bool ApplyCommandLine(const std::string& text, SearchConditions& conditions, HistoryList& locationBox,
                      HistoryList& patternBox, int64_t now) {
  CCommandLine record(now);
  record.Parse(text);
  for (const std::string& location : record.Locations) locationBox.PushFront(location);
  for (const std::string& pattern : record.Patterns) patternBox.PushFront(pattern);
  ApplyKinds(record, conditions);
  ApplyOptions(record, conditions);
  ApplyDateAndSize(record, conditions);
  bool anyKind = record.Text || record.File || record.Folder;
  return !(record.LocationGiven && record.PatternGiven && record.Go && anyKind);
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

bool ApplySingleLocationArgument(const std::string& arg, HistoryList& locationBox) {
  std::optional<std::string> expanded = ExpandLocation(arg);
  if (!expanded) return false;
  locationBox.PushFront(*expanded);
  return true;
}

std::string SingleLocationHandOverText(const std::string& arg) {
  std::optional<std::string> expanded = ExpandLocation(arg);
  return expanded ? "-b" + QuoteValue(*expanded) : std::string();
}
