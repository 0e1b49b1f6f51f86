#include "pages/depth_edit_widget.h"

#include <QMouseEvent>

#include "app/settei_fields.h"

CDepthEdit::CDepthEdit(QWidget* parent) : NumberEdit(0, kMaxDepth, parent) {
  // The depth-mode menu is this field's right-click menu; two menus at once would only confuse.
  setContextMenuPolicy(Qt::NoContextMenu);
}

void CDepthEdit::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) emit DepthMenuRequested();
  NumberEdit::mousePressEvent(e);
}
