// The command-line dialog (dialog 156): shows a composed command line read-only, so that it can be
// selected and copied into a shortcut or a script. F1 opens the help page of the command line.
#pragma once

#include <QDialog>
#include <QString>

class CCommandLineDlg : public QDialog {
  Q_OBJECT
 public:
  CCommandLineDlg(const QString& text, QWidget* parent);
};
