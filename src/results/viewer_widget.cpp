#include "results/viewer_widget.h"

#include <QAction>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <algorithm>
#include <thread>

#include "app/qt_text_qt.h"
#include "matching/mbcs.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "results/viewer_text.h"
#include "search/found.h"

namespace {

// A line longer than this is put into the pane in parts of this many characters, each a paragraph of
// its own: the toolkit lays out a paragraph whole, and one of megabytes would hold the window for
// minutes. The pane wraps long lines anyway, so only where one part ends shows.
constexpr int kLongestParagraph = 4096;

// The kinds of unit the pane holds for code page 932 text whose lines end in CR LF: a character (one
// UTF-16 unit, code page 932 lying wholly in the BMP), a CR LF (one paragraph break) and the paragraph
// break that ends a part of a long line.
enum class PaneUnit { kCharacter, kLineEnd, kPartBreak };

// Calls visit(b, kind) for each unit the pane gets for `sjis`, in order; `b` the byte where the character
// or CR LF begins, for a part break the byte of the character after it. Both the pane's text and the
// pane positions of the coloured ranges are counted by this one walk, so they agree.
template <class Visit>
void WalkPane(std::string_view sjis, Visit&& visit) {
  int column = 0;
  for (size_t b = 0; b < sjis.size();) {
    const bool crlf = sjis[b] == '\r' && b + 1 < sjis.size() && sjis[b + 1] == '\n';
    if (crlf) {
      visit(b, PaneUnit::kLineEnd);
      b += 2;
      column = 0;
      continue;
    }
    if (column == kLongestParagraph) {
      visit(b, PaneUnit::kPartBreak);
      column = 0;
    }
    visit(b, PaneUnit::kCharacter);
    ++column;
    // The character's bytes as matching::CharLen counts them (a byte without a valid trail byte after
    // it is a character of its own), spelled out inline: this runs for every character of the file.
    b += matching::IsLeadByte(static_cast<unsigned char>(sjis[b])) && b + 1 < sjis.size() &&
                 matching::IsTrailByteValue(static_cast<unsigned char>(sjis[b + 1]))
             ? 2
             : 1;
  }
}

// The pane's form of code page 932 text whose lines end in CR LF: each CR LF a paragraph break, long
// lines in parts.
struct PaneDocument {
  QString text;
  int topBlock = 0;  // the paragraph where line `topLine` begins (the last one if it is beyond)
};

PaneDocument MakePane(std::string_view sjis, int topLine) {
  // One unit per character, as the walk counts them (both take a byte without a valid trail byte after
  // it as a character of its own).
  std::u16string units = platform::Utf16FromCp932(sjis);
  PaneDocument pane;
  // Written over the units themselves while no part break has been added (the text only shrinks, a
  // CR LF becoming one unit); the parts of long lines then need a second buffer.
  std::u16string grown;
  std::u16string* out = &units;
  size_t written = 0;
  // `read`: the index of the unit being read; `unread`: that unit is still to be read, so it must not be
  // overwritten.
  auto put = [&](char16_t unit, size_t read, bool unread) {
    if (out == &units && (written > read || (unread && written == read))) {
      grown.assign(units, 0, written);
      out = &grown;
    }
    if (out == &grown) {
      grown.push_back(unit);
    } else {
      units[written] = unit;
    }
    ++written;
  };
  int line = 1;
  int blocks = 0;
  size_t u = 0;  // the unit of the character the walk is at
  WalkPane(sjis, [&](size_t, PaneUnit kind) {
    switch (kind) {
      case PaneUnit::kPartBreak:
        put(u'\n', u, true);
        ++blocks;
        break;
      case PaneUnit::kLineEnd:
        put(u'\n', u, false);
        u += 2;  // the CR's unit and the LF's
        ++blocks;
        if (++line == topLine) pane.topBlock = blocks;
        break;
      case PaneUnit::kCharacter:
        put(units[u], u, false);
        ++u;
        break;
    }
  });
  if (line < topLine) pane.topBlock = blocks;
  const std::u16string& text = out == &units ? units : grown;
  pane.text = QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(written));
  return pane;
}

// The pane positions of the coloured ranges of `sjis`, [begin, end) pairs in ascending order.
std::vector<int> PanePositions(std::string_view sjis, const std::vector<HighlightRange>& ranges) {
  std::vector<int> positions;
  positions.reserve(2 * ranges.size());
  size_t k = 0;  // the offset asked for next: the begin of range k / 2 when k is even, else its end
  auto offset = [&ranges](size_t i) { return i % 2 == 0 ? ranges[i / 2].begin : ranges[i / 2].end; };
  const size_t count = 2 * ranges.size();
  int written = 0;
  WalkPane(sjis, [&](size_t b, PaneUnit kind) {
    if (kind != PaneUnit::kPartBreak) {
      for (; k < count && offset(k) <= b; ++k) positions.push_back(written);
    }
    ++written;
  });
  for (; k < count; ++k) positions.push_back(written);
  return positions;
}

// The colour of a profile value: red in the lowest byte, then green, then blue.
QColor ColourOf(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

}  // namespace

CViewer::CViewer(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("id1010"));
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Selectable with the mouse and the keyboard, so a part can be copied or a link opened.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  connect(this, &QPlainTextEdit::updateRequest, this, [this] { ColourVisibleBlocks(); });
}

void CViewer::SetSearchFlags(bool ignoreCase, bool useRegex) {
  ignoreCase_ = ignoreCase;
  useRegex_ = useRegex;
}

void CViewer::Clear() {
  shown_.clear();
  highlights_.clear();
  topLine_ = 0;
  colourPositions_.clear();
  // A new document: the text, its formats and the caret all start afresh.
  clear();
  setCurrentCharFormat(QTextCharFormat());
}

// The range for the hit's file: an override of its folder, else of its full path, else the setting.
int CViewer::RangeFor(const FOUND_M& hit) const {
  auto it = settings_.FixMap.find(hit.Folder());
  if (it == settings_.FixMap.end()) it = settings_.FixMap.find(platform::JoinPath(hit.Folder(), hit.FileName()));
  return it != settings_.FixMap.end() ? it->second : settings_.ViewerRange;
}

void CViewer::Show(const FOUND_M* hit, const std::string& pattern) {
  if (hit == nullptr) return;
  Clear();
  if (hit->kind != 1 || !settings_.ViewerRangeView) return;
  const int range = RangeFor(*hit);
  if (range < VIEWER_ALL || range > VIEWER_HR) return;
  const ViewerRequest request{hit->charCode, range, hit->lineNumber, settings_.ViewerMae, settings_.ViewerAto};
  // The file is read by its native path, which opens it also when code page 932 cannot spell its name.
  ViewerText text = LoadViewerText(hit->NativePath(), request);
  if (!text.loaded) return;
  const std::string shownPattern = range == VIEWER_HR ? DecodeEntities(pattern) : pattern;
  shown_ = std::move(text.text);
  topLine_ = range == VIEWER_ALL ? hit->lineNumber : text.topLine;
  // The coloured ranges and their pane positions are found on a thread of their own while the text goes
  // into the pane, which is most of the time of a large file; both only read the shown text. The pane
  // asks for colour while it takes the text, so the positions are handed over only after.
  std::vector<int> positions;
  std::jthread colours([&] {
    highlights_ = useRegex_ ? RegexHighlights(shown_, shownPattern, ignoreCase_)
                            : PlainHighlights(shown_, shownPattern, ignoreCase_);
    positions = PanePositions(shown_, highlights_);
  });
  const PaneDocument pane = MakePane(shown_, topLine_);
  // Into the document itself rather than through the pane's setPlainText, which after inserting goes
  // over the whole document once more to give every character the caret's format: after Clear that is
  // the default format the text is inserted with anyway, and the second pass costs a tenth of the time
  // of a file of hundreds of thousands of lines.
  document()->setPlainText(pane.text);
  colours.join();
  colourPositions_ = std::move(positions);
  ColourVisibleBlocks();
  ScrollToBlock(pane.topBlock);
}

// Colours the ranges inside the blocks in view that are not coloured yet; only the colour of the
// characters changes.
void CViewer::ColourVisibleBlocks() {
  if (colourPositions_.empty()) return;
  QTextCharFormat colour;
  colour.setForeground(ColourOf(settings_.ViewerLookIro));
  const int bottom = viewport()->height();
  for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
    if (blockBoundingGeometry(block).translated(contentOffset()).top() > bottom) break;
    if (block.userState() == 1) continue;
    block.setUserState(1);
    const int begin = block.position();
    const int end = begin + block.length();
    // The first range ending inside or after the block; pairs sit at even indices.
    auto it = std::upper_bound(colourPositions_.begin(), colourPositions_.end(), begin);
    size_t k = static_cast<size_t>(it - colourPositions_.begin());
    if (k % 2 == 1) --k;
    QTextCursor cursor(document());
    for (; k < colourPositions_.size() && colourPositions_[k] < end; k += 2) {
      cursor.setPosition(std::max(colourPositions_[k], begin));
      cursor.setPosition(std::min(colourPositions_[k + 1], end - 1), QTextCursor::KeepAnchor);
      cursor.mergeCharFormat(colour);
    }
  }
}

// Makes the start of paragraph `number` (from 0) the first visible line, wrapped lines above it counted
// as the lines they take on the screen. The caret is left at the start of that line: putting it back to
// the text's start would scroll the pane back with it.
void CViewer::ScrollToBlock(int number) {
  QTextBlock block = document()->findBlockByNumber(number);
  if (!block.isValid()) block = document()->lastBlock();
  // Scrolling the caret from the end back to the line leaves the line at the top (as far as the text
  // below it allows).
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  setTextCursor(cursor);
  cursor.setPosition(block.position());
  setTextCursor(cursor);
}

void CViewer::Page(bool up) {
  verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
}

void CViewer::keyPressEvent(QKeyEvent* event) {
  // Space pages the pane (Shift+Space back). The key goes no further: the toolkit's read-only pane would
  // page a second time.
  if (event->key() == Qt::Key_Space) {
    Page(event->modifiers().testFlag(Qt::ShiftModifier));
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

std::unique_ptr<QMenu> CViewer::BuildContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  const QString selected = textCursor().selectedText();
  QAction* copy = menu->addAction(QStringLiteral("コピー(&C)\tCtrl+C"));
  copy->setData(kViewerMenuCopy);
  copy->setEnabled(!selected.isEmpty());
  const QString head = selected.left(7);
  if (head.compare(QLatin1String("file://"), Qt::CaseInsensitive) == 0 ||
      head.compare(QLatin1String("http://"), Qt::CaseInsensitive) == 0) {
    menu->addAction(QStringLiteral("開く(&J)"))->setData(kViewerMenuOpen);
  }
  return menu;
}

void CViewer::MenuCommand(int command) {
  if (command == kViewerMenuCopy) copy();
  if (command == kViewerMenuOpen) {
    // A selection across lines holds paragraph separators; the link is the selected text as typed.
    QString link = textCursor().selectedText();
    link.replace(QChar::ParagraphSeparator, QChar('\n'));
    QDesktopServices::openUrl(QUrl(link.trimmed(), QUrl::TolerantMode));
  }
}

void CViewer::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu = BuildContextMenu();
  // The menu key opens the menu at the pane's top-left corner.
  const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(0, 0)) : event->globalPos();
  // While the menu is open the pane shows the arrow instead of the text cursor.
  viewport()->setCursor(Qt::ArrowCursor);
  QAction* chosen = menu->exec(at);
  viewport()->setCursor(Qt::IBeamCursor);
  if (chosen != nullptr) MenuCommand(chosen->data().toInt());
}
