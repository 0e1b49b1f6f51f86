#include "cmdline/composer.h"

#include <cstdio>

#include "platform/local_time.h"

namespace {

char UnitLetter(int unit) {
  return unit == 0 ? 'b' : unit == 2 ? 'm' : 'k';
}

std::string Format(const char* format, auto... values) {
  char buffer[96];
  int n = snprintf(buffer, sizeof buffer, format, values...);
  if (n < 0) return {};
  return std::string(buffer,
                     static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n) : sizeof buffer - 1);
}

// hhmmss of a span of seconds; hours beyond a day wrap, as a span never reaches one.
std::string FormatSpan(uint64_t seconds) {
  return Format("%02d%02d%02d", static_cast<int>(seconds / 3600 % 24), static_cast<int>(seconds / 60 % 60),
                static_cast<int>(seconds % 60));
}

// The date text after "-jm" or "-ju"; false when there is none to write.
bool DateSpec(const CCommandLine& r, std::string& piece) {
  switch (r.RangeKind) {
    case 0: {
      platform::LocalParts from, to;
      if (!platform::ToLocal(r.DateFrom, from) || !platform::ToLocal(r.DateTo, to)) return false;
      if (r.WholeDay) {
        piece =
            Format("%04d%02d%02d,%04d%02d%02d", from.year, from.month, from.day, to.year, to.month, to.day);
      } else {
        piece = Format("%04d%02d%02d,%02d%02d%02d,%04d%02d%02d,%02d%02d%02d", from.year, from.month, from.day,
                      from.hour, from.minute, from.second, to.year, to.month, to.day, to.hour, to.minute,
                      to.second);
      }
      return true;
    }
    case 1:
      piece = r.PastDay >= 0 ? Format("%d", r.PastDay) : Format("f%d", ~r.PastDay);
      return true;
    case 2: {
      // Through unsigned arithmetic, so that even the most negative value has a magnitude.
      uint64_t magnitude =
          r.PastTime >= 0 ? static_cast<uint64_t>(r.PastTime) : 0 - static_cast<uint64_t>(r.PastTime);
      piece = (r.PastTime >= 0 ? "" : "f") + FormatSpan(magnitude);
      return true;
    }
    default:
      return false;
  }
}

std::string DatePiece(const CCommandLine& r) {
  if (r.TimeFilter == 0) return "-ja";
  std::string piece;
  if (r.TimeFilter != 1 || (r.TimeKind != 0 && r.TimeKind != 1) || !DateSpec(r, piece)) return {};
  return (r.TimeKind == 0 ? "-jm" : "-ju") + piece;
}

std::string SizePiece(const CCommandLine& r) {
  switch (r.SizeKind) {
    case 0:
      return "-za";
    case 1:
      return Format("-zl%d%c", r.SizeMin, UnitLetter(r.SizeMinUnit));
    case 2:
      return Format("-zr%d%c", r.SizeMax, UnitLetter(r.SizeMaxUnit));
    case 3:
      return Format("-zl%d%cr%d%c", r.SizeMin, UnitLetter(r.SizeMinUnit), r.SizeMax,
                    UnitLetter(r.SizeMaxUnit));
    default:
      return {};
  }
}

std::string FlagPiece(bool text, bool file, bool folder, bool go) {
  if (!text && !file && !folder && !go) return {};
  std::string piece = "-";
  if (text) piece += 't';
  if (file) piece += 'f';
  if (folder) piece += 'd';
  if (go) piece += 'g';
  return piece;
}

std::string AttributePiece(const CCommandLine& r) {
  std::string piece;
  if (r.ReadonlyGiven) piece += Format("r%d", r.Readonly);
  if (r.HiddenGiven) piece += Format("h%d", r.Hidden);
  if (r.SystemGiven) piece += Format("s%d", r.System);
  if (r.ArchiveGiven) piece += Format("a%d", r.Archive);
  return piece.empty() ? piece : "-a" + piece;
}

std::string SubFolderPiece(int subFolder) {
  if (subFolder == kNoSubFolders) return "-sa";
  if (subFolder == kAllSubFolders) return "-sb";
  return Format("-s%d", subFolder);
}

std::string CodePiece(int code) {
  // Every value besides the three codes is written "w", which the parser reads as automatic.
  static const char kLetters[] = {'s', 'e', 'j'};
  return std::string("-c") + (code >= 0 && code <= 2 ? kLetters[code] : 'w');
}

}  // namespace

std::string QuoteValue(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  if (out.find_first_of("- ") != std::string::npos) out = '"' + out + '"';
  return out;
}

std::string Compose(const CCommandLine& r) {
  bool text = r.Text;
  bool file = r.File && !text;
  bool folder = r.Folder && !text;
  std::string result;
  auto add = [&result](const std::string& piece) {
    if (piece.empty()) return;
    if (!result.empty()) result += ' ';
    result += piece;
  };
  if (r.LocationGiven) add("-b" + (r.Locations.empty() ? std::string() : QuoteValue(r.Locations.front())));
  if (r.PatternGiven) add("-m" + (r.Patterns.empty() ? std::string() : QuoteValue(r.Patterns.front())));
  add(FlagPiece(text, file, folder, r.Go));
  add(AttributePiece(r));
  if (r.SubFolderGiven) add(SubFolderPiece(r.SubFolder));
  if (r.RegexGiven) add(r.Regex ? "-r1" : "-r0");
  if (r.CaseGiven) add(r.IgnoreCase ? "-i1" : "-i0");
  if (r.CodeGiven) add(CodePiece(r.Code));
  if (r.ExtensionGiven) add("-e" + QuoteValue(r.ExtensionText));
  if (r.DateGiven) add(DatePiece(r));
  if (r.SizeGiven) add(SizePiece(r));
  return result;
}

CCommandLine BuildComposerRecord(const SearchConditions& c, const std::string& locationText,
                                 const std::string& patternText) {
  CCommandLine r(c.DateFrom);
  r.LocationGiven = r.PatternGiven = r.SubFolderGiven = r.CaseGiven = r.ExtensionGiven = r.CodeGiven = true;
  r.ReadonlyGiven = r.HiddenGiven = r.SystemGiven = r.ArchiveGiven = true;
  r.RegexGiven = r.DateGiven = r.SizeGiven = true;
  r.Locations = {locationText};
  r.Patterns = {patternText};
  r.Text = c.SearchMoji;
  r.File = c.SearchFile;
  r.Folder = c.SearchFolder;
  r.SubFolder = c.DepthDrawF ? c.Depth : c.SubFolder ? kAllSubFolders : kNoSubFolders;
  r.IgnoreCase = c.LetterClassify;
  r.Code = c.ConvertFlag;
  r.Regex = c.BregFlag;
  r.Readonly = c.AttrReadonly;
  r.Hidden = c.AttrHidden;
  r.System = c.AttrSystem;
  r.Archive = c.AttrArchived;
  bool all = c.SearchMoji ? c.MojiAll : c.FileAll;
  const std::vector<std::string>& list = c.SearchMoji ? c.MojiExtList : c.FileExtList;
  r.ExtensionText = all ? "*" : list.empty() ? std::string() : list.front();
  r.TimeFilter = c.TimeFilter;
  r.TimeKind = c.TimeKind;
  r.RangeKind = c.RangeKind;
  r.DateFrom = c.DateFrom;
  r.DateTo = c.DateTo;
  r.WholeDay = c.WholeDay;
  r.PastDay = c.PastDay;
  r.PastTime = c.PastTime;
  r.SizeKind = c.SizeKind;
  r.SizeMin = c.SizeMin;
  r.SizeMax = c.SizeMax;
  r.SizeMinUnit = c.SizeMinUnit;
  r.SizeMaxUnit = c.SizeMaxUnit;
  return r;
}
