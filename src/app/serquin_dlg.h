// The main window: the search string and location boxes with their histories, the kind switches, the
// search button, both result lists, the viewer pane and the status row. It owns the search conditions and
// every setting that lives between searches, starts and stops searches through its SearchSession, and
// takes the search threads' notifications as posted events on the window thread.
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "app/handover_receiver.h"
#include "app/history_list.h"
#include "app/main_layout.h"
#include "app/profile_store.h"
#include "app/qt_notify_qt.h"
#include "app/search_session.h"
#include "app/settei_values.h"
#include "search/search_conditions.h"

class CListFile;
class CListMoji;
class HitActions;
class CViewer;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
struct FOUND_F;
struct FOUND_M;
struct CommandLineText;

class CSerquinDlg : public QDialog, public HandOverReceiver {
  Q_OBJECT

 public:
  // Loads the profile held by `profile` (already opened), applies the start-up command line `nativeArgs`
  // (the process arguments after the program name, native form), and writes the profile back when it
  // closes.
  CSerquinDlg(ProfileStore& profile, std::vector<std::string> nativeArgs, QWidget* parent = nullptr);
  ~CSerquinDlg() override;

  // HandOverReceiver.
  bool WantsSingleInstance() const override { return settings_.MutexF; }
  bool SettingsOpen() const override { return settingsOpen_; }
  bool Searching() const override { return searching_; }
  void RaiseWindow() override;
  void ApplyHandOver(const HandOver& handOver) override;

  // The search button's command: starts a search, or stops the running one.
  void SearchCommand();
  const SearchConditions& Conditions() const { return conditions_; }
  const AppSettings& Settings() const { return settings_; }
  CListFile* FileList() const { return fileList_; }
  CListMoji* TextList() const { return textList_; }
  // Saves the visible result list to a file the user chooses ("CsvFile" remembers it); the failure
  // message on any failure. Asked for by the settings page's save button and by Ctrl+Shift+S.
  void SaveResults();
  // The actions on the lists' hits; tests replace their desktop.
  HitActions& Actions() const { return *hitActions_; }
  CViewer* Viewer() const { return viewer_; }

 signals:
  // A search has ended (normally, by a failed regular expression, or stopped by the user).
  void SearchEnded();

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  // Text and files dragged onto the location and search-string boxes (serquin_drop_dlg.cpp).
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  // Escape and the close box: stop a running search, else close.
  void reject() override;
  // Enter goes through keyPressEvent; the dialog is never accepted by the toolkit's default button.
  void accept() override {}
  void done(int result) override;

 private:
  // Building the window (serquin_dlg.cpp).
  void CreateControls();
  QPushButton* MakeButton(int id, const QString& text, bool checkable);
  QLabel* MakeLabel(int id, const QString& text);
  void CreateShortcuts();
  void MeasureDesign();
  void LoadFromProfile();
  void ApplyFrame();
  void SaveFrame();
  void LayOut();
  QWidget* Control(int id) const;
  bool ViewerShown() const;

  // The box a drop at `at` would go to: the location or search-string box when it is under the pointer
  // and enabled, else null (serquin_drop_dlg.cpp).
  QComboBox* DropBoxAt(const QPoint& at) const;

  // Boxes, kinds and the status row (serquin_dlg.cpp).
  void FillBox(QComboBox* box, const HistoryList& history, const std::string& native);
  void RefreshBoxes();
  void TakeControls();
  void ShowKinds();
  void ClickKind(int kind);
  void UpdateStatusRow();
  void EnableInputs(bool enable);
  void ShowHitCount();
  void ChooseFolder();
  void ShowCommandLine();
  void ShowAbout();

  // The settings dialog (serquin_settei_dlg.cpp).
  void OpenSettings();
  SetteiValues MakeSetteiValues() const;
  void ApplySetteiValues(const SetteiValues& values);
  void ApplyFilterValues(const SearchConditions& in);
  void ApplyTopmost(bool topmost);
  ViewerSettings ViewerValues() const;
  void SetViewerValues(const ViewerSettings& viewer);

  // The search lifecycle (serquin_search_dlg.cpp).
  void StartSearch();
  bool AskTrailingBlank();
  void FailValidation(int message, QWidget* focus);
  void StopByUser();
  void HandleNotifications();
  void OnTextHit(std::unique_ptr<FOUND_M> hit);
  void OnNameHit(std::unique_ptr<FOUND_F> hit);
  void OnSearchEnd(int code, const std::string& message);
  void OnProgress();
  void OnTextRecordSelected(const FOUND_M* hit);
  void OnPageViewer(bool up);
  void FillDisplayPath(std::string& displayPath, const std::string& folder);
  bool ApplyCommandLineText(const CommandLineText& text);
  void ApplyStartupCommandLine(const std::vector<std::string>& nativeArgs);
  void EnterCommand();
  void Shutdown();

  // The lists' context-menu commands and the save (serquin_actions_dlg.cpp).
  void ConnectHitActions();
  void RunListCommand(int command, bool textList);

  ProfileStore& profile_;
  SearchConditions conditions_;
  AppSettings settings_;
  HistoryList locationHistory_{HistoryKind::Location};
  HistoryList patternHistory_{HistoryKind::Pattern};
  QtNotify notify_{this};
  SearchSession session_{notify_};

  bool searching_ = false;      // the search button's state
  bool singleLocation_ = true;  // the last search had fewer than two locations
  bool settingsOpen_ = false;   // a settings dialog is open
  bool shutDown_ = false;       // the profile has been written at the close
  const FOUND_M* viewerRecord_ = nullptr;  // the text hit the viewer last received
  // The display path of the last hit's folder, since the hits of one file arrive one after another.
  std::string lastFolder_;
  std::string lastDisplayPath_;

  // Controls.
  QComboBox* patternBox_ = nullptr;
  QComboBox* locationBox_ = nullptr;
  QPushButton* searchButton_ = nullptr;
  std::array<QPushButton*, 3> kindButtons_{};  // text, file, folder
  CListMoji* textList_ = nullptr;
  CListFile* fileList_ = nullptr;
  CViewer* viewer_ = nullptr;
  // Shows viewerRecord_ once the selection rests: holding an arrow key down the list queues at most this
  // one pending Show, never one per row passed.
  QTimer* viewerTimer_ = nullptr;
  QLabel* hitCount_ = nullptr;
  QLabel* progress_ = nullptr;
  QString progressText_;
  std::map<int, QWidget*> controls_;
  QTimer* countTimer_ = nullptr;  // the hit count is shown at most every 50 ms while hits pour in
  HitActions* hitActions_ = nullptr;  // a child of the window

  MainMeasures measures_;
  SplitterDrag splitterDrag_;
  LayoutRect splitter_;
};
