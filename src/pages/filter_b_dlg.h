// CFilterBDlg: the settings page "検索条件". It edits how deep the walk goes (all subfolders yes/no, or a
// number of levels, switched by the depth-mode menu), regular expressions, case, the character code of
// text search and the extension lists of text and file search with their "all extensions" switches.
#pragma once

#include "pages/settei_page_widget.h"

class CDepthEdit;
class CMyComboExt;
class CSubFolderBtn;
class QCheckBox;
class QComboBox;
class QLabel;
class UpDownButtons;

class CFilterBDlg : public SetteiPage {
  Q_OBJECT

 public:
  explicit CFilterBDlg(QWidget* parent = nullptr);
  void LoadValues(const SetteiValues& values) override;
  // Takes the controls' values and commits both extension lists: each box's text goes to the top of its
  // items, which become the list (so the text is the head, the extensions in force).
  void StoreValues(SetteiValues& values) override;
  QString HelpPage() const override { return "filter_b"; }
  // Shows the depth-mode menu at `globalPos`; choosing an entry switches the mode.
  void ShowDepthMenu(const QPoint& globalPos);

 protected:
  void mousePressEvent(QMouseEvent* e) override;

 private:
  QWidget* CreateDepthRow();
  QWidget* CreateTextGroup();
  QWidget* CreateFileGroup();
  int LabelColumnWidth() const;
  void Connect();
  // Shows the subfolder box or the depth field with its labels, by depthDrawF_.
  void ShowDepthMode();
  void EnableExtBoxes();
  void UserChanged();

  CSubFolderBtn* subFolder_ = nullptr;  // 1201
  CDepthEdit* depth_ = nullptr;         // 1202
  UpDownButtons* depthSpin_ = nullptr;  // 1203
  QLabel* depthBefore_ = nullptr;       // 1204
  QLabel* depthAfter_ = nullptr;        // 1205
  QCheckBox* regex_ = nullptr;          // 1206
  QCheckBox* ignoreCase_ = nullptr;     // 1221
  QComboBox* code_ = nullptr;           // 1222
  CMyComboExt* mojiExt_ = nullptr;      // 1223
  QCheckBox* mojiAll_ = nullptr;        // 1224
  CMyComboExt* fileExt_ = nullptr;      // 1241
  QCheckBox* fileAll_ = nullptr;        // 1242
  bool depthDrawF_ = false;
  bool regexPresent_ = false;
  bool loading_ = false;
};
