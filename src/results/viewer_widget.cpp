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

#include "app/qt_text_qt.h"
#include "platform/paths.h"
#include "results/viewer_pane.h"
#include "results/viewer_text.h"
#include "search/found.h"

namespace {

// The colour of a profile value: red in the lowest byte, then green, then blue.
QColor ColourOf(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

}  // namespace

CViewer::CViewer(QWidget* parent)
    : QPlainTextEdit(parent), loader_([this](std::unique_ptr<ViewerPrepared> prepared) {
        // On the loader's thread: the answer goes to the window's thread (dropped if the pane is gone).
        QMetaObject::invokeMethod(
            this, [this, answer = std::shared_ptr<ViewerPrepared>(std::move(prepared))] { Install(*answer); },
            Qt::QueuedConnection);
      }) {
  setObjectName(QStringLiteral("id1010"));
  setFont(JapaneseTextFont(font()));
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

CViewer::~CViewer() {
  // The pane lets go of the loader's document before it goes; the loader takes it apart on its thread.
  if (document_) {
    setDocument(nullptr);
    loader_.Dispose(std::move(document_));
  }
}

void CViewer::Clear() {
  ++generation_;
  pending_ = false;
  loader_.Cancel();
  ClearPane();
}

void CViewer::ClearPane() {
  partGeneration_ = 0;
  shown_.clear();
  highlights_.clear();
  topLine_ = 0;
  colourPositions_.clear();
  linePositions_.clear();
  // A new document: the text, its formats and the caret all start afresh.
  const QTextDocument* now = document();
  SwapDocument(NewPaneDocument(now->defaultFont(), now->defaultTextOption(), now->documentMargin()));
}

// Puts `document` into the pane; a document the loader made before is taken apart on its thread.
void CViewer::SwapDocument(std::unique_ptr<QTextDocument> document) {
  setDocument(document.get());
  loader_.Dispose(std::move(document_));
  document_ = std::move(document);
}

// The range for the hit's file: an override of its folder, else of its full path, else the setting.
int CViewer::RangeFor(const FOUND_M& hit) const {
  auto it = settings_.FixMap.find(hit.Folder());
  if (it == settings_.FixMap.end())
    it = settings_.FixMap.find(platform::JoinPath(hit.Folder(), hit.FileName()));
  return it != settings_.FixMap.end() ? it->second : settings_.ViewerRange;
}

void CViewer::Show(const FOUND_M* hit, const std::string& pattern) {
  if (hit == nullptr) return;
  ++generation_;
  pending_ = false;
  loader_.Cancel();
  const int range = hit->kind == 1 && settings_.ViewerRangeView ? RangeFor(*hit) : VIEWER_NONE;
  if (range < VIEWER_ALL || range > VIEWER_HR) {
    ClearPane();
    emit Shown();
    return;
  }
  // The file is read by its native path, which opens it also when code page 932 cannot spell its name.
  ViewerJob job;
  job.generation = generation_;
  job.nativePath = hit->NativePath();
  job.request = {hit->charCode, range, hit->lineNumber, settings_.ViewerMae, settings_.ViewerAto};
  job.pattern = range == VIEWER_HR ? DecodeEntities(pattern) : pattern;
  job.ignoreCase = ignoreCase_;
  job.useRegex = useRegex_;
  pendingWhole_ = {};
  if (range == VIEWER_ALL) {
    pendingWhole_ = {job.nativePath, job.request.charCode,   job.pattern, ignoreCase_,
                     useRegex_,      settings_.ViewerLookIro};
    if (ScrollWithin(pendingWhole_, hit->lineNumber)) {
      emit Shown();
      return;
    }
  }
  const QTextDocument* now = document();
  job.font = now->defaultFont();
  job.option = now->defaultTextOption();
  job.margin = now->documentMargin();
  job.home = thread();
  pending_ = true;
  loader_.Start(std::move(job));
}

// When the pane shows `file` whole and it has not changed since, scrolls to `line` and says so.
bool CViewer::ScrollWithin(const WholeFile& file, int line) {
  if (linePositions_.empty() || !(file == whole_) || StampOf(file.nativePath) != wholeStamp_) return false;
  topLine_ = line;
  const size_t index = static_cast<size_t>(std::max(1, line) - 1);
  ScrollToPosition(index < linePositions_.size() ? linePositions_[index] : linePositions_.back());
  return true;
}

// Takes a prepared Show into the pane unless a newer Show or Clear came after it.
void CViewer::Install(ViewerPrepared& prepared) {
  if (prepared.generation != generation_) {
    loader_.Dispose(std::move(prepared.document));
    return;
  }
  if (prepared.part) {
    InstallPart(prepared);
    return;
  }
  pending_ = false;
  if (!prepared.loaded) {
    ClearPane();
    emit Shown();
    return;
  }
  // Where the user went in the first part, when they moved there: the top line and the selection (as
  // numbers: no cursor may outlast the part's document, which is taken apart on the loader's thread).
  const bool partShown = partGeneration_ == generation_;
  partGeneration_ = 0;
  int anchor = 0, position = 0, top = 0;
  bool selected = false;
  {
    const QTextCursor caret = textCursor();
    anchor = caret.anchor();
    position = caret.position();
    selected = caret.hasSelection();
    top = cursorForPosition(QPoint(1, 1)).position();
  }
  const bool moved =
      partShown && (verticalScrollBar()->value() != partScroll_ || selected || position != partTop_);
  const int shift = prepared.topPosition - partTop_;
  TakeShownState(prepared);
  whole_ = pendingWhole_;
  wholeStamp_ = prepared.stamp;
  linePositions_ = std::move(prepared.linePositions);
  if (!moved) {
    ScrollToPosition(prepared.topPosition);
  } else {
    // The part is the whole's text from `shift` on, position for position.
    ScrollToPosition(top + shift);
    QTextCursor selection(document());
    const int end = static_cast<int>(document()->characterCount()) - 1;
    selection.setPosition(std::clamp(anchor + shift, 0, end));
    selection.setPosition(std::clamp(position + shift, 0, end), QTextCursor::KeepAnchor);
    if (selected) setTextCursor(selection);
  }
  emit Shown();
}

// The first part of a large text goes into the pane at once; the Show is still pending.
void CViewer::InstallPart(ViewerPrepared& part) {
  TakeShownState(part);
  linePositions_.clear();  // no scroll within it: the whole is on its way
  ScrollToPosition(part.topPosition);
  partGeneration_ = generation_;
  partTop_ = part.topPosition;
  partScroll_ = verticalScrollBar()->value();
  emit PartShown();
}

// The text, ranges and document of a prepared Show, coloured where in view.
void CViewer::TakeShownState(ViewerPrepared& prepared) {
  // The positions first: the pane asks for colour as soon as it has the document.
  shown_ = std::move(prepared.text);
  highlights_ = std::move(prepared.highlights);
  colourPositions_ = std::move(prepared.colourPositions);
  topLine_ = prepared.topLine;
  SwapDocument(std::move(prepared.document));
  ColourVisibleBlocks();
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

// Makes the line that begins at `position` the first visible line, wrapped lines above it counted as
// the lines they take on the screen. The caret is left at the start of that line: putting it back to
// the text's start would scroll the pane back with it.
void CViewer::ScrollToPosition(int position) {
  // Scrolling the caret from the end back to the line leaves the line at the top (as far as the text
  // below it allows).
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  setTextCursor(cursor);
  cursor.setPosition(std::clamp(position, 0, cursor.position()));
  setTextCursor(cursor);
}

void CViewer::Page(bool up) {
  verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderPageStepSub
                                        : QAbstractSlider::SliderPageStepAdd);
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
    link.replace(QChar::LineSeparator, QChar('\n'));
    QDesktopServices::openUrl(QUrl(link.trimmed(), QUrl::TolerantMode));
  }
}

void CViewer::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu = BuildContextMenu();
  // The menu key opens the menu at the pane's top-left corner.
  const QPoint at =
      event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(0, 0)) : event->globalPos();
  // While the menu is open the pane shows the arrow instead of the text cursor.
  viewport()->setCursor(Qt::ArrowCursor);
  QAction* chosen = menu->exec(at);
  viewport()->setCursor(Qt::IBeamCursor);
  if (chosen != nullptr) MenuCommand(chosen->data().toInt());
}
