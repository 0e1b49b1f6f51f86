#include "pages/my_combo_ext_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <QUrl>

#include "app/ext_collect.h"
#include "app/qt_text_qt.h"

namespace {

// The local files of a drop, as native paths.
QStringList LocalPaths(const QMimeData* data) {
  QStringList paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

}  // namespace

CMyComboExt::CMyComboExt(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setAcceptDrops(true);
  // Drops on the edit part reach the box, which takes files, not text.
  lineEdit()->setAcceptDrops(false);
}

void CMyComboExt::SetHistory(const std::vector<std::string>& entries) {
  history_.Clear();
  for (const std::string& entry : entries) history_.AppendIfAbsent(entry);
  history_.Select(0);
  Mirror();
}

std::vector<std::string> CMyComboExt::CommitText() {
  history_.PushFront(Cp932FromQt(currentText()));
  Mirror();
  return history_.Texts();
}

bool CMyComboExt::DropFiles(const QStringList& nativePaths, bool shift) {
  std::vector<DroppedEntry> dropped;
  for (const QString& path : nativePaths) {
    const QFileInfo info(path);
    dropped.push_back({Cp932FromQt(info.fileName()), info.exists(), info.isDir()});
  }
  const std::string text = CollectExtensions(Cp932FromQt(currentText()), shift, dropped);
  if (text.empty()) return false;
  setEditText(QtFromCp932(text));
  emit Dropped();
  return true;
}

void CMyComboExt::dragEnterEvent(QDragEnterEvent* e) {
  if (LocalPaths(e->mimeData()).isEmpty()) {
    e->ignore();
    return;
  }
  e->acceptProposedAction();
}

void CMyComboExt::dragMoveEvent(QDragMoveEvent* e) {
  if (LocalPaths(e->mimeData()).isEmpty()) {
    e->ignore();
    return;
  }
  e->acceptProposedAction();
}

void CMyComboExt::dropEvent(QDropEvent* e) {
  const QStringList paths = LocalPaths(e->mimeData());
  if (paths.isEmpty()) {
    e->ignore();
    return;
  }
  DropFiles(paths, e->modifiers() & Qt::ShiftModifier);
  e->acceptProposedAction();
}

// Shows the history's items; the edit keeps the selected item's text.
void CMyComboExt::Mirror() {
  QSignalBlocker quiet(this);
  clear();
  for (const HistoryItem& item : history_.Items()) addItem(QtFromCp932(item.text));
  setCurrentIndex(history_.Selected());
}
