// The main window's history boxes: editable combo boxes for the location (CMyComboFolder) and the search
// string (CMyComboPattern). Drops reach them through the main window, which decides what a drop means
// for each box; the boxes themselves take none.
#pragma once

#include <QComboBox>

// The part both boxes share: always editable, no drops of their own, and a size change never touches
// the typed text or its selection.
class CMyComboHistory : public QComboBox {
  Q_OBJECT

 public:
  explicit CMyComboHistory(QWidget* parent = nullptr);

 protected:
  // Reads the text and the selection, lets the box resize, and puts both back when they changed.
  void resizeEvent(QResizeEvent* e) override;
};

// The location box (1004).
class CMyComboFolder : public CMyComboHistory {
  Q_OBJECT

 public:
  explicit CMyComboFolder(QWidget* parent = nullptr) : CMyComboHistory(parent) {}
};

// The search-string box (1001).
class CMyComboPattern : public CMyComboHistory {
  Q_OBJECT

 public:
  explicit CMyComboPattern(QWidget* parent = nullptr) : CMyComboHistory(parent) {}
};
