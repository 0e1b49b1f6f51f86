// The trailing-blank question (dialog 127), asked before a search whose string ends in a blank: "続行"
// starts the search (exec() gives Accepted), "中止" gives it up (Rejected; so do Escape and the close box).
#pragma once

#include <QDialog>

class QCheckBox;

class CWhiteDlg : public QDialog {
  Q_OBJECT
 public:
  // `whiteCheck` is the starting state of "今後このメッセージを出さない" (the "WhiteCheck" setting).
  CWhiteDlg(bool whiteCheck, QWidget* parent);
  // The check box's state, whichever way the dialog was closed.
  bool WhiteCheck() const;

 private:
  QCheckBox* dontAsk_;
};
