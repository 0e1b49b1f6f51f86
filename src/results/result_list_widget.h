// What both result lists share: a table of one row per owned hit record with virtual rows, single
// full-row selection that stays visible without focus, movable columns whose widths and order persist in
// the profile, sorting on a header click with the selection following its record, and the context menu
// whose chosen command goes to the main dialog.
#pragma once

#include <QTableView>
#include <functional>
#include <optional>
#include <vector>

#include "app/ini_file.h"
#include "resources/strings.h"
#include "results/list_columns.h"
#include "results/list_sort.h"

class QMenu;
class ResultModel;

// The context-menu commands; each is also the number of its text in the string table.
enum ListMenuCommand : int {
  kMenuOpenAssociated = IDS_MENU_OPEN_ASSOCIATED,  // 32771
  kMenuOpenEditor = IDS_MENU_OPEN_EDITOR,          // 32772
  kMenuOpenFolder = IDS_MENU_OPEN_FOLDER,          // 32773
  kMenuCopyPath = IDS_MENU_COPY_PATH,              // 32774
};

class ResultListView : public QTableView {
  Q_OBJECT

 public:
  // Runs a built context menu at a screen position and returns the command chosen, 0 for none.
  using MenuRunner = std::function<int(QMenu& menu, const QPoint& globalPosition)>;

  void FlushAppends();  // announce every appended row to the view now
  int Count() const;    // records held, announced or not
  // When the list has rows and none is selected: selects the top visible row, makes it current, gives
  // the list the focus and returns true. Otherwise does nothing and returns false.
  bool SelectTopIfNone();
  // A header click: the same column again reverses the order, another one sorts ascending; the selected
  // record stays selected and current at its new row, scrolled into view.
  void SortByColumn(int column);
  const ListSortState& SortState() const { return sort_; }
  std::vector<int> ColumnDisplayOrder() const;  // logical columns from left to right
  void RefreshTexts();                          // repaint, e.g. after "SoutaiF" changed

  // The context menu for the current selection; null when no row is selected. Its actions carry their
  // command numbers as data.
  std::unique_ptr<QMenu> BuildContextMenu();
  // Where the menu key opens the menu: at the selected row, in screen coordinates; nothing when no row
  // is selected or the row is outside the visible part of the list.
  std::optional<QPoint> KeyboardMenuPosition() const;
  // Replaces how a menu is run (tests choose an item instead of waiting for a user).
  void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

 signals:
  // 32771 open by association, 32772 open in the editor, 32773 open the folder, 32774 copy the path.
  void MenuCommand(int command);

 protected:
  ResultListView(ResultModel* model, QWidget* parent);

  // Applies loaded column settings: the shown columns with their widths, in their order.
  void ApplyColumns(const ListColumns& columns);
  // How much larger than the classic 9-point font the list's font is, in percent (by its line height and
  // its digits, whichever is more); the default column widths grow by it.
  int FontPercent() const;
  // The current widths by logical column (-1 for a column not shown, up to `total`) and the order.
  ListColumns CurrentColumns(int total) const;
  // The row of the selection, -1 when none.
  int SelectedRow() const;
  // Every search start: not sorted, no sort indicator.
  void ResetSort();

  // What each list decides for itself.
  virtual void SortRows(int column, bool descending) = 0;
  virtual int DefaultMenuCommand() const = 0;
  virtual bool EditorCommandEnabled() const = 0;
  virtual int DoubleClickCommand() const = 0;
  // A Space that came through the input method; the list has already consumed it.
  virtual void ImeSpace() {}

  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  void ShowMenu(const QPoint& globalPosition);

  ResultModel* model_;
  ListSortState sort_;
  MenuRunner menuRunner_;
};
