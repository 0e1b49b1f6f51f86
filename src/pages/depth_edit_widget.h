// CDepthEdit: the depth field of the search-conditions page (0..64 levels); a right click asks the page
// for its depth-mode menu in place of the edit's own menu.
#pragma once

#include "pages/number_edit_widget.h"

class CDepthEdit : public NumberEdit {
  Q_OBJECT

 public:
  explicit CDepthEdit(QWidget* parent = nullptr);

 signals:
  void DepthMenuRequested();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
};
