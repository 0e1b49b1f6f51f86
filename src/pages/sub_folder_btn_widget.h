// CSubFolderBtn: the "search subfolders" check box of the search-conditions page; a right click asks the
// page for its depth-mode menu.
#pragma once

#include <QCheckBox>

class CSubFolderBtn : public QCheckBox {
  Q_OBJECT

 public:
  CSubFolderBtn(const QString& text, QWidget* parent = nullptr) : QCheckBox(text, parent) {}

 signals:
  void DepthMenuRequested();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
};
