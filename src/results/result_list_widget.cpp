#include "results/result_list_widget.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

#include "app/qt_text_qt.h"
#include "results/result_model_qt.h"

namespace {

// An input method hands over a Space typed while nothing is being composed as a committed blank, half-
// or full-width ("　" in Japanese input mode). That is the toolkit's form of a Space key that went through
// the input method; the lists consume it so that it neither searches the rows by text nor moves the
// selection.
bool IsImeSpace(const QInputMethodEvent& event) {
  return event.preeditString().isEmpty() &&
         (event.commitString() == QStringLiteral(" ") || event.commitString() == QStringLiteral("\u3000"));
}

int RunMenu(QMenu& menu, const QPoint& globalPosition) {
  const QAction* chosen = menu.exec(globalPosition);
  return chosen ? chosen->data().toInt() : 0;
}

}  // namespace

ResultListView::ResultListView(ResultModel* model, QWidget* parent)
    : QTableView(parent), model_(model), menuRunner_(RunMenu) {
  setModel(model_);
  setFont(JapaneseTextFont(font()));
  setSelectionMode(SingleSelection);
  setSelectionBehavior(SelectRows);
  setEditTriggers(NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setTabKeyNavigation(false);  // Tab leaves the list, as from any other control of the dialog
  setHorizontalScrollMode(ScrollPerPixel);
  // The selection stays as visible without the focus as with it.
  QPalette colours = palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight,
                   colours.color(QPalette::Active, QPalette::Highlight));
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   colours.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(colours);

  // Rows of one fixed height: the view then never measures a row, however many there are.
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

  QHeaderView* header = horizontalHeader();
  header->setSectionsMovable(true);
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  // The narrowest a stored width loads as is also the narrowest a column can be dragged to.
  header->setMinimumSectionSize(kMinimumColumnWidth);
  header->setSortIndicatorShown(true);
  header->setSortIndicator(-1, Qt::AscendingOrder);
  // The view's own sorting stays off: a header click sorts the owned records instead.
  setSortingEnabled(false);
  connect(header, &QHeaderView::sectionClicked, this, &ResultListView::SortByColumn);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex&) {
    if (SelectedRow() >= 0) emit MenuCommand(DoubleClickCommand());
  });
}

void ResultListView::FlushAppends() {
  model_->FlushAppends();
}

int ResultListView::Count() const {
  return model_->HeldCount();
}

bool ResultListView::SelectTopIfNone() {
  model_->FlushAppends();
  if (model_->rowCount() == 0 || SelectedRow() >= 0) return false;
  // The row at the top edge counts as visible even when it is cut off.
  int row = rowAt(0);
  if (row < 0) {
    row = 0;
    scrollToTop();
  }
  const QModelIndex top = model_->index(row, 0);
  selectionModel()->setCurrentIndex(top, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  setFocus(Qt::OtherFocusReason);
  return true;
}

void ResultListView::SortByColumn(int column) {
  if (column < 0) return;
  sort_.Click(column);
  // Sorting hundreds of thousands of rows takes up to a second: the pointer says the window is busy.
  const bool slow = model_->rowCount() > 100'000;
  if (slow) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  // The selection and the current row are persistent indexes: they move with their records.
  SortRows(sort_.column, sort_.descending);
  if (slow) QGuiApplication::restoreOverrideCursor();
  horizontalHeader()->setSortIndicator(column, sort_.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
  const int row = SelectedRow();
  if (row >= 0) {
    const QModelIndex moved = model_->index(row, currentIndex().isValid() ? currentIndex().column() : 0);
    selectionModel()->setCurrentIndex(moved, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(moved);
  }
  viewport()->update();
}

void ResultListView::ResetSort() {
  sort_.Reset();
  horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

std::vector<int> ResultListView::ColumnDisplayOrder() const {
  std::vector<int> order;
  const QHeaderView* header = horizontalHeader();
  for (int position = 0; position < header->count(); ++position)
    order.push_back(header->logicalIndex(position));
  return order;
}

void ResultListView::RefreshTexts() {
  viewport()->update();
}

int ResultListView::FontPercent() const {
  // The classic font is 12 pixels a line and 6 pixels a digit; cells here also have wider margins.
  const QFontMetrics metrics = fontMetrics();
  const int byHeight = metrics.height() * 100 / 12;
  const int byDigits = (metrics.horizontalAdvance(QStringLiteral("0000000000")) + 16) * 100 / 60;
  return std::max({100, byHeight, byDigits});
}

void ResultListView::ApplyColumns(const ListColumns& columns) {
  int shown = 0;
  while (shown < static_cast<int>(columns.widths.size()) && columns.Shown(shown)) ++shown;
  model_->SetColumnCount(shown);
  QHeaderView* header = horizontalHeader();
  for (int column = 0; column < shown; ++column) header->resizeSection(column, columns.widths[column]);
  for (int position = 0; position < static_cast<int>(columns.order.size()); ++position) {
    const int column = columns.order[static_cast<size_t>(position)];
    if (column < shown) header->moveSection(header->visualIndex(column), position);
  }
}

ListColumns ResultListView::CurrentColumns(int total) const {
  ListColumns columns;
  const QHeaderView* header = horizontalHeader();
  for (int column = 0; column < total; ++column) {
    columns.widths.push_back(column < header->count() ? header->sectionSize(column) : -1);
  }
  columns.order = ColumnDisplayOrder();
  return columns;
}

int ResultListView::SelectedRow() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

std::unique_ptr<QMenu> ResultListView::BuildContextMenu() {
  if (SelectedRow() < 0) return nullptr;
  auto menu = std::make_unique<QMenu>(this);
  auto add = [&](int command) {
    QAction* action = menu->addAction(QtString(command));
    action->setData(command);
    return action;
  };
  QAction* associated = add(kMenuOpenAssociated);
  QAction* editor = add(kMenuOpenEditor);
  add(kMenuOpenFolder);
  menu->addSeparator();
  add(kMenuCopyPath);
  editor->setEnabled(EditorCommandEnabled());
  menu->setDefaultAction(DefaultMenuCommand() == kMenuOpenEditor ? editor : associated);
  return menu;
}

std::optional<QPoint> ResultListView::KeyboardMenuPosition() const {
  const int row = SelectedRow();
  if (row < 0) return std::nullopt;
  const int top = rowAt(0);
  if (top < 0 || row < top) return std::nullopt;
  // The row's top-left corner as the list shows it, whichever column is leftmost.
  const int firstColumn = horizontalHeader()->logicalIndex(0);
  const QPoint corner = visualRect(model_->index(row, firstColumn < 0 ? 0 : firstColumn)).topLeft();
  if (!viewport()->rect().contains(corner)) return std::nullopt;
  return viewport()->mapToGlobal(corner);
}

void ResultListView::ShowMenu(const QPoint& globalPosition) {
  std::unique_ptr<QMenu> menu = BuildContextMenu();
  if (!menu) return;
  const int command = menuRunner_(*menu, globalPosition);
  if (command != 0) emit MenuCommand(command);
}

void ResultListView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  // The menu key is handled when it is released (keyReleaseEvent); a keyboard request the platform
  // derives from it must not open a second menu.
  if (event->reason() != QContextMenuEvent::Mouse) return;
  if (!viewport()->rect().contains(viewport()->mapFromGlobal(event->globalPos()))) return;
  ShowMenu(event->globalPos());
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Menu) {
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void ResultListView::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Menu && !event->isAutoRepeat()) {
    if (std::optional<QPoint> position = KeyboardMenuPosition()) ShowMenu(*position);
  }
  QTableView::keyReleaseEvent(event);
}

void ResultListView::inputMethodEvent(QInputMethodEvent* event) {
  if (IsImeSpace(*event)) {
    event->accept();
    ImeSpace();
    return;
  }
  QTableView::inputMethodEvent(event);
}
