#include "pages/my_edit_widget.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

namespace {

bool CarriesFiles(const QMimeData* data) {
  return data && data->hasUrls();
}

}  // namespace

CMyEdit::CMyEdit(QWidget* parent) : QLineEdit(parent) {
  setAcceptDrops(true);
}

void CMyEdit::dragEnterEvent(QDragEnterEvent* e) {
  if (!CarriesFiles(e->mimeData())) return QLineEdit::dragEnterEvent(e);
  e->acceptProposedAction();
}

void CMyEdit::dragMoveEvent(QDragMoveEvent* e) {
  // A file list replaces the whole text, so there is no insertion point to follow.
  if (!CarriesFiles(e->mimeData())) return QLineEdit::dragMoveEvent(e);
  e->acceptProposedAction();
}

void CMyEdit::dropEvent(QDropEvent* e) {
  if (!CarriesFiles(e->mimeData())) return QLineEdit::dropEvent(e);
  // The drop is finished whatever it held, so the source never waits for an answer.
  e->acceptProposedAction();
  const QList<QUrl> urls = e->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  setText(QFileInfo(urls.front().toLocalFile()).absoluteFilePath());
  emit Changed();
}
