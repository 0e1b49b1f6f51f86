#include "pages/my_combo_widget.h"

#include <QLineEdit>

CMyComboHistory::CMyComboHistory(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  // The box's own edit would insert dragged text at the pointer; the window's drop rules replace the
  // text instead, so drags pass through to the window.
  lineEdit()->setAcceptDrops(false);
  setAcceptDrops(false);
}

void CMyComboHistory::resizeEvent(QResizeEvent* e) {
  QLineEdit* edit = lineEdit();
  const QString text = edit->text();
  const int start = edit->selectionStart();
  const int length = edit->selectionLength();
  const int cursor = edit->cursorPosition();
  QComboBox::resizeEvent(e);
  if (edit->text() != text) edit->setText(text);
  if (start >= 0 && (edit->selectionStart() != start || edit->selectionLength() != length)) {
    // The cursor stays at the end where the user left it, so the same range is selected from that end.
    if (cursor == start) {
      edit->setSelection(start + length, -length);
    } else {
      edit->setSelection(start, length);
    }
  } else if (start < 0 && edit->cursorPosition() != cursor) {
    edit->setCursorPosition(cursor);
  }
}
