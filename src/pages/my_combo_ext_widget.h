// CMyComboExt: an extension-list box of the search-conditions page. Its items are the extension history
// (item 0 the most recent, compared without case); files dropped on it become the list of their
// extensions, added to the current list while Shift is held.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "app/history_list.h"

class CMyComboExt : public QComboBox {
  Q_OBJECT

 public:
  explicit CMyComboExt(QWidget* parent = nullptr);
  // Fills the items from a history (AppendIfAbsent, in order) and selects the first.
  void SetHistory(const std::vector<std::string>& entries);
  // Puts the current text at the top of the items (PushFront) and returns the items in order: the list
  // the history becomes, with the current text at its head.
  std::vector<std::string> CommitText();
  // The items in order (code page 932).
  std::vector<std::string> Items() const { return history_.Texts(); }
  // What a drop of `nativePaths` does to the box, Shift held or not; true when its text changed.
  bool DropFiles(const QStringList& nativePaths, bool shift);

 signals:
  // The user changed the text by a drop.
  void Dropped();

 protected:
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void Mirror();

  HistoryList history_{HistoryKind::Extension};
};
