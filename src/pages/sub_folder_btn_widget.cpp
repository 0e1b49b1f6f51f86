#include "pages/sub_folder_btn_widget.h"

#include <QMouseEvent>

void CSubFolderBtn::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) emit DepthMenuRequested();
  QCheckBox::mousePressEvent(e);
}
