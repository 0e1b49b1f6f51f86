// The main window's settings that are not search conditions: history sizes, the window frame, the settings
// dialog's last tab, the editor, the sound, the custom colours and the start-up switches. The profile loads
// and saves them as plain values; the window applies them (the frame through PlaceFrame in app/profile.h).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// "Frame Section": the window's restored rectangle, the splitter and the always-on-top switch.
struct FrameSettings {
  // The restored rectangle as stored, in work-area coordinates. An absent value means the designed size
  // (SizeW, SizeH) or 64 (IchiX, IchiY). The four are written only when all four are set, which the window
  // does when it can read its placement; otherwise the stored values stay as they are.
  std::optional<int> SizeW;
  std::optional<int> SizeH;
  std::optional<int> IchiX;
  std::optional<int> IchiY;
  int ViewerY = 50;     // splitter: distance from the top of the splitter band to the client's bottom
  bool TemaeF = false;  // always on top
};

// Sixteen white custom colours, the colour chooser's start.
constexpr std::array<uint32_t, 16> DefaultCustomIro() {
  std::array<uint32_t, 16> colours{};
  for (uint32_t& colour : colours) colour = 0xFFFFFF;
  return colours;
}

struct AppSettings {
  // "RirekiMaximum Section": the history list last chosen in the settings dialog (0 pattern, 1 location,
  // 2 text-search extensions, 3 file-search extensions) and the entries each history keeps in the profile.
  int RirekiKind = 0;
  int PatternMaximum = 16;
  int FolderMaximum = 16;
  int MojiExtMaximum = 16;
  int FileExtMaximum = 16;

  // "Condition Section", besides the search conditions.
  int OptionTab = 0;        // last open tab of the settings dialog, 0..4
  bool WhiteCheck = false;  // do not ask about a trailing blank in the search string
  bool SoutaiF = true;      // show folders relative to the location when there is one location
  // The colour chooser's custom colours: red in the lowest byte, green in the next, blue in the third.
  std::array<uint32_t, 16> CustomIro = DefaultCustomIro();
  std::string EditorFile = "Notepad.exe";
  std::string EditorParam = "&F /&L";
  std::string WaveFile;  // sound at the end of a search and with warnings; empty for none
  std::string CsvFile;   // last result file name
  bool MutexF = false;   // single instance

  FrameSettings Frame;
};
