// An edit box that takes a file path by drag and drop: the settings pages' editor program and end sound.
#pragma once

#include <QLineEdit>

class CMyEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CMyEdit(QWidget* parent = nullptr);

 signals:
  // A dropped file's path became the text.
  void Changed();

 protected:
  // Dragged files are taken as a whole (one file only, below); dragged text goes into the box as in any
  // edit box.
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  // Exactly one dropped file: its full native path becomes the text. Several files: nothing changes.
  void dropEvent(QDropEvent* e) override;
};
