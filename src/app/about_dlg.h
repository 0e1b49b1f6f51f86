// The about box (dialog 100): the program icon and its version, closed with OK.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent);
};
