// The command-line options record and its parser. Every option carries a given flag; applying the record
// (apply_command_line.h) changes only the conditions whose flag is set. The composer (composer.h) writes
// the same grammar back. Texts are code page 932.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Subfolder values of the record besides a depth of 0..64.
constexpr int kNoSubFolders = -1;
constexpr int kAllSubFolders = -2;

// The form of the text a record is parsed from. Texts are code page 932; a native (UTF-8) text is parsed
// only for the locations and patterns that code page 932 cannot hold whole. The options are split at ASCII
// characters, which no byte of a UTF-8 multibyte character is, so both forms give the same tokens.
enum class CommandTextForm { kCp932, kNative };

class CCommandLine {
 public:
  // `now` is "today" for the date defaults and for checking a time of day.
  explicit CCommandLine(int64_t now, CommandTextForm form = CommandTextForm::kCp932);

  // Splits the text into option tokens at every "-" outside double quotes and parses each; then text
  // search excludes file and folder search. Meant to be called once per record.
  void Parse(std::string_view text);
  // Parses one token ("-" and the option letter, then the value) into the record; anything else is
  // ignored.
  void ParseOption(std::string_view token);

  // Given flags.
  bool LocationGiven = false;  // -b named an existing location
  bool PatternGiven = false;   // -m
  bool Text = false;           // letter t of a flag token: text search
  bool File = false;           // letter f: file search
  bool Folder = false;         // letter d: folder search
  bool SubFolderGiven = false;
  bool CaseGiven = false;
  bool ExtensionGiven = false;
  bool CodeGiven = false;
  bool Go = false;  // letter g: start the search at once
  bool ReadonlyGiven = false;
  bool HiddenGiven = false;
  bool SystemGiven = false;
  bool ArchiveGiven = false;
  bool RegexGiven = false;
  bool DateGiven = false;
  bool SizeGiven = false;

  // Values.
  std::vector<std::string> Locations;  // every -b value in order (the long form when it was found)
  std::vector<std::string> Patterns;
  int SubFolder = kNoSubFolders;  // kNoSubFolders, kAllSubFolders or a depth 0..64
  bool IgnoreCase = false;
  std::string ExtensionText;
  int Code = 3;  // ConvertFlag value
  int Readonly = 0;
  int Hidden = 0;
  int System = 0;
  int Archive = 0;
  bool Regex = false;

  // Date values, named after the conditions they replace.
  int TimeFilter = 0;
  int TimeKind = 1;
  int RangeKind = 0;
  int64_t DateFrom = 0;
  int64_t DateTo = 0;
  bool WholeDay = true;
  int PastDay = 0;
  int64_t PastTime = 0;

  // Size values.
  int SizeKind = 0;
  int SizeMin = 0;
  int SizeMax = 0;
  int SizeMinUnit = 1;
  int SizeMaxUnit = 1;

 private:
  void ResetDate();
  void ResetSize();
  void ParseLocation(const std::string& value);
  void ParseAttributes(std::string_view value);
  bool ParseDate(std::string_view value);
  bool ParseDateRange(std::string_view value, bool withTimes);
  bool ParseTimeSpan(std::string_view hhmmss, bool future);
  bool ParseDays(std::string_view digits, bool future);
  bool ParseSize(std::string_view value);
  void ParseFlags(std::string_view token);

  int64_t now_;
  CommandTextForm form_;
};

// The long form of a location given in code page 932: the existing entry's absolute, normalised path
// (a trailing "/" kept), back in code page 932. No value when the entry does not exist.
std::optional<std::string> ExpandLocation(std::string_view cp932);
