// The settings dialog's page of other settings ("その他"): the trailing-blank check, relative paths, the
// end sound, always on top, single instance, the history sizes, and the button that saves the results.
#pragma once

#include <QString>
#include <array>

#include "pages/settei_page_widget.h"

class CMyEdit;
class CNumberSpin;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CSetteiBDlg : public SetteiPage {
  Q_OBJECT

 public:
  explicit CSetteiBDlg(QWidget* parent);

  // SoutaiF, WhiteCheck (shown inverted), WaveFile, MutexF, Frame.TemaeF, FolderDetail, RirekiKind and the
  // four history maxima. A kind outside 0..3 is shown as 0, a maximum outside 0..127 as 16.
  void LoadValues(const SetteiValues& values) override;
  // The shown count becomes the shown kind's maximum, the shown kind the last kind.
  void StoreValues(SetteiValues& values) override;
  QString HelpPage() const override { return "settei_b"; }

 signals:
  // "検索結果を保存(&F)..." was pressed: the main window saves its visible result list now.
  void SaveResultsRequested();

 private:
  void CreateControls();
  QWidget* CreateSoundRow();
  QWidget* CreateHistoryGroup();
  // Remembers the shown count for the kind shown so far and shows the count of `kind`.
  void ChangeKind(int kind);
  void BrowseSound();
  void ReportChange();

  int kind_ = 0;                 // the kind whose count the field shows
  std::array<int, 4> maxima_{};  // pattern, location, text-search and file-search extensions
  bool loading_ = false;

  QCheckBox* blankCheck_ = nullptr;
  QCheckBox* relative_ = nullptr;
  QCheckBox* folderDetail_ = nullptr;
  CMyEdit* sound_ = nullptr;
  QCheckBox* topmost_ = nullptr;
  QCheckBox* singleInstance_ = nullptr;
  QComboBox* kinds_ = nullptr;
  QLineEdit* count_ = nullptr;
  CNumberSpin* countSpin_ = nullptr;
};
