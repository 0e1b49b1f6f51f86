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
#include "results/viewer_loader_qt.h"
#include "results/viewer_settings.h"

class QMenu;
class QTextDocument;
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
  ~CViewer() override;

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
  // Empties the pane; a Show still being prepared is dropped.
  void Clear();
  // Shows the hit's file with `pattern` (code page 932) coloured; without a hit nothing changes. A hit
  // that cannot be shown (the viewer is off, its path's override says none, the file cannot be read)
  // leaves the pane empty. The file is prepared on the viewer's own thread and the pane keeps what it
  // shows until it is ready (Shown), so the window answers meanwhile; only the newest Show counts. A
  // further hit of the whole file already shown (unchanged since) only scrolls, at once.
  void Show(const FOUND_M* hit, const std::string& pattern);
  // One page down, or up.
  void Page(bool up);
  // A Show is still being prepared.
  bool Pending() const { return pending_; }

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

 signals:
  // The newest Show's text is in the pane, or the pane was emptied because it cannot be shown.
  void Shown();
  // The first part of a large text, the lines around the top line, is in the pane; Shown follows.
  void PartShown();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // What decides the whole-file text and its colours: a Show of the same is a scroll.
  struct WholeFile {
    std::string nativePath;
    int charCode = 0;
    std::string pattern;
    bool ignoreCase = false;
    bool useRegex = false;
    uint32_t colour = 0;
    bool operator==(const WholeFile&) const = default;
  };

  int RangeFor(const FOUND_M& hit) const;
  bool ScrollWithin(const WholeFile& file, int line);
  void Install(ViewerPrepared& prepared);
  void InstallPart(ViewerPrepared& part);
  void TakeShownState(ViewerPrepared& prepared);
  void ClearPane();
  void SwapDocument(std::unique_ptr<QTextDocument> document);
  void ScrollToPosition(int position);
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
  // The whole file in the pane, its state when read and where each of its lines begins; empty lines
  // when the pane shows something else.
  WholeFile whole_;
  FileStamp wholeStamp_;
  std::vector<int> linePositions_;
  WholeFile pendingWhole_;   // what the Show being prepared shows, when it shows a whole file
  uint64_t generation_ = 0;  // counts the Shows and Clears; a prepared Show of an older count is dropped
  // The first part of the Show of this count is in the pane, scrolled to `partTop_` (scroll bar at
  // `partScroll_`, caret at `partTop_`): a user who moved in it keeps the place when the whole comes.
  uint64_t partGeneration_ = 0;
  int partTop_ = 0;
  int partScroll_ = 0;
  bool pending_ = false;
  std::unique_ptr<QTextDocument> document_;  // the pane's document once the loader has made one
  ViewerLoader loader_;                      // last: its thread stops before anything it hands over to goes
};
