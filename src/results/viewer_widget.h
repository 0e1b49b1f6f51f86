// CViewer: the read-only pane under the text result list (control 1010). For a selected text hit it
// re-reads the file, shows the whole file, the lines around the hit or the "<HR>" range that holds it,
// colours the search pattern and scrolls the hit's line to the top. Its settings live in "Viewer Section"
// and "ViewerFix Section".
#pragma once

#include <QPlainTextEdit>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "results/viewer_highlight.h"
#include "results/viewer_settings.h"

class QMenu;
struct FOUND_M;

// The context-menu commands, numbered as the program's menu numbers them.
enum ViewerMenuCommand : int {
  kViewerMenuCopy = 32781,
  kViewerMenuOpen = 32782,
};

class CViewer : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CViewer(QWidget* parent = nullptr);

  // Reads "Viewer Section" and "ViewerFix Section" with their clamps; writes them back (the overrides
  // rewritten whole, numbered without gaps).
  void LoadSettings(const IniFile& profile) { LoadViewerSettings(profile, settings_); }
  void SaveSettings(IniFile& profile) const { SaveViewerSettings(profile, settings_); }
  // The settings the settings dialog edits; a changed setting takes effect at the next Show.
  ViewerSettings& Settings() { return settings_; }
  const ViewerSettings& Settings() const { return settings_; }
  // The viewer is shown at all, with one of its three ranges.
  bool IsShown() const { return settings_.IsShown(); }

  // At every search start: the search's case and regular-expression flags.
  void SetSearchFlags(bool ignoreCase, bool useRegex);
  // Empties the pane.
  void Clear();
  // Shows the hit's file with `pattern` (code page 932) coloured; without a hit nothing changes. A hit
  // that cannot be shown (the viewer is off, its path's override says none, the file cannot be read)
  // leaves the pane empty.
  void Show(const FOUND_M* hit, const std::string& pattern);
  // One page down, or up.
  void Page(bool up);

  // What the last Show put into the pane: the code page 932 text, the coloured byte ranges of it, and the
  // line scrolled to the top.
  const std::string& ShownText() const { return shown_; }
  const std::vector<HighlightRange>& Highlights() const { return highlights_; }
  int TopLine() const { return topLine_; }

  // The context menu for the current selection: "コピー" (disabled without a selection) and, when the
  // selection begins with "file://" or "http://", "開く". Each action's data is its command number.
  std::unique_ptr<QMenu> BuildContextMenu();
  // Carries out a context-menu command.
  void MenuCommand(int command);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  int RangeFor(const FOUND_M& hit) const;
  void ScrollToBlock(int number);
  void ColourVisibleBlocks();

  ViewerSettings settings_;
  bool ignoreCase_ = false;  // LetterClassify of the current search
  bool useRegex_ = false;    // BregFlag of the current search
  std::string shown_;
  std::vector<HighlightRange> highlights_;
  int topLine_ = 0;
  // The coloured ranges as pane positions, [begin, end) pairs in ascending order. A block is coloured
  // when it first comes into view (its user state then 1): a file of hundreds of thousands of
  // occurrences is not coloured all at once.
  std::vector<int> colourPositions_;
};
