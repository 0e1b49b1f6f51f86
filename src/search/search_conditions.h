// The one record of search conditions. The main window (or serquin-cli) owns one; the profile loads it,
// the command line overwrites parts of it, the settings pages edit it and a search start turns it into a
// SearchRequest. The engine never reads it directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The character code of a file's text; the same numbers serve ConvertFlag (0..3) and the code stored with
// each text hit.
enum FileCode : int {
  kCodeSjis = 0,
  kCodeEuc = 1,
  kCodeJis = 2,
  kCodeAuto = 3,
  kCodeUtf8 = 4,
  kCodeUtf16Le = 5,
  kCodeUtf16Be = 6,
};

struct SearchConditions {
  // Search input and kinds. Texts are code page 932.
  std::string PatternText;
  std::string FolderText;
  // The native (UTF-8) forms of the two texts, kept only when code page 932 cannot hold them whole (a
  // folder named 한국, an emoji, invalid UTF-8 bytes); empty otherwise. A front end sets them with the
  // texts; a search uses them only while the code-page-932 text is still their conversion.
  std::string PatternNative;
  std::string FolderNative;
  bool SearchMoji = true;
  bool SearchFile = false;
  bool SearchFolder = false;
  std::vector<std::string> Locations;  // resolved at search start, native paths; moved into the request
  std::string BasePath;                // base of the relative display of hit folders (code page 932)
  bool FolderDetail = true;

  // Walk and matching options.
  bool DepthDrawF = false;
  bool SubFolder = false;
  int Depth = 1;          // 0..64
  int ConvertFlag = 3;    // 0..3
  bool LetterClassify = false;
  bool BregFlag = false;

  // Extension filters: histories of extension-list texts; the head entry is the one in force.
  std::vector<std::string> MojiExtList{"txt;html;htm"};
  std::vector<std::string> FileExtList{"txt;html;htm"};
  bool MojiAll = false;
  bool FileAll = true;

  // Date filter.
  int TimeFilter = 0;  // 0 all files, 1 only files within a period
  int TimeKind = 1;    // 0 creation time, 1 last-write time
  int RangeKind = 0;   // 0 date range, 1 days, 2 time span
  int64_t DateFrom = 0;  // start value: today 00:00:00 (set by ResetDateRange)
  int64_t DateTo = 0;    // start value: today 23:59:59
  bool WholeDay = true;
  int PastDay = 0;       // N >= 0 the last N days; negative v the next ~v days
  int64_t PastTime = 0;  // t >= 0 the last t seconds; negative the next -t seconds

  // Size filter.
  int SizeKind = 0;  // bit 0 minimum applies, bit 1 maximum applies
  int SizeMin = 0;   // 0..32767 units
  int SizeMax = 0;
  int SizeMinUnit = 1;  // 0 B, 1 KB, 2 MB
  int SizeMaxUnit = 1;

  // Attribute filter: 0 either, 1 must have, 2 must not have.
  int AttrReadonly = 0;
  int AttrHidden = 0;
  int AttrSystem = 0;
  int AttrArchived = 0;
};

// Sets DateFrom and DateTo to today 00:00:00 and today 23:59:59 (local time) and WholeDay to 1, the
// values every start begins with.
void ResetDateRange(SearchConditions& conditions, int64_t now);
