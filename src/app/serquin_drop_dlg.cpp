// The main window as a drop target: text and files dragged onto the location box or the search-string
// box. Everywhere else the drag shows the no-drop cursor.
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

#include "app/qt_text_qt.h"
#include "app/serquin_dlg.h"
#include "pages/drop_rules.h"

namespace {

// The format of text in code page 932, when the source offers one.
QString Cp932Format(const QMimeData* data) {
  static const QRegularExpression cp932(R"(^text/plain;\s*charset=("?)(shift_jis|windows-31j|cp932)\1$)",
                                        QRegularExpression::CaseInsensitiveOption);
  for (const QString& format : data->formats()) {
    if (cp932.match(format).hasMatch()) return format;
  }
  return {};
}

// The local paths among the dragged URLs, in drop order.
std::vector<std::string> LocalPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  return paths;
}

bool CanDrop(const QMimeData* data) {
  return data && (!LocalPaths(data).empty() || data->hasText() || !Cp932Format(data).isEmpty());
}

}  // namespace

QComboBox* CSerquinDlg::DropBoxAt(const QPoint& at) const {
  QWidget* child = childAt(at);
  // The deepest widget under the pointer may be a part of a box, such as its edit.
  while (child && child->parentWidget() != this) child = child->parentWidget();
  if (child != locationBox_ && child != patternBox_) return nullptr;
  return child->isEnabled() ? static_cast<QComboBox*>(child) : nullptr;
}

// The drag is taken in as long as it carries something droppable, so that moves keep arriving; whether it
// may drop is decided at every position.
void CSerquinDlg::dragEnterEvent(QDragEnterEvent* e) {
  if (!CanDrop(e->mimeData())) return e->ignore();
  dragMoveEvent(e);
  e->accept();
}

void CSerquinDlg::dragMoveEvent(QDragMoveEvent* e) {
  if (CanDrop(e->mimeData()) && DropBoxAt(e->position().toPoint())) {
    e->setDropAction(Qt::CopyAction);
    e->accept();
  } else {
    e->setDropAction(Qt::IgnoreAction);
    e->ignore();
  }
}

// Files first: a file manager offers the dragged paths as text as well, and the path list is what the
// user drags. Then text in code page 932, then any other text; text is cut to the boxes' limit.
void CSerquinDlg::dropEvent(QDropEvent* e) {
  QComboBox* box = DropBoxAt(e->position().toPoint());
  const QMimeData* data = e->mimeData();
  if (!box || !CanDrop(data)) return e->ignore();
  e->setDropAction(Qt::CopyAction);
  e->accept();
  const std::vector<std::string> paths = LocalPaths(data);
  if (!paths.empty()) {
    if (box == locationBox_) {
      const bool append = e->modifiers() & Qt::ShiftModifier;
      box->setEditText(
          QString::fromStdString(JoinDroppedLocations(paths, box->currentText().toStdString(), append)));
    } else if (std::optional<std::string> name = DroppedPatternName(paths)) {
      box->setEditText(QString::fromStdString(*name));
    }
    return;
  }
  if (const QString format = Cp932Format(data); !format.isEmpty()) {
    const QByteArray bytes = data->data(format);
    box->setEditText(
        QtFromCp932(CutCp932Text(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))));
    return;
  }
  box->setEditText(QString::fromStdString(CutUtf8Text(data->text().toStdString())));
}
