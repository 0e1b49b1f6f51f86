// The main window's search lifecycle: the search command, validation and the trailing-blank question, the
// start and stop of the worker, the notifications of the search threads, command lines from the start-up
// and from a second start, and the close.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>

#include "app/end_sound_qt.h"
#include "app/qt_text_qt.h"
#include "app/serquin_dlg.h"
#include "app/white_dlg.h"
#include "cmdline/apply_command_line.h"
#include "platform/cp932.h"
#include "platform/local_time.h"
#include "resources/strings.h"
#include "results/display_path.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"
#include "results/viewer_widget.h"
#include "search/found.h"

void CSerquinDlg::SearchCommand() {
  searching_ = !searching_;
  searchButton_->setChecked(searching_);
  TakeControls();
  if (searching_) {
    StartSearch();
    return;
  }
  session_.Stop();
  UpdateStatusRow();
  EnableInputs(true);
  patternBox_->setFocus();
  emit SearchEnded();
}

void CSerquinDlg::StartSearch() {
  textList_->Clear();
  fileList_->Clear();
  // The records go with the list: a Show still pending must not reach them.
  viewerTimer_->stop();
  viewerRecord_ = nullptr;
  lastFolder_.clear();
  lastDisplayPath_.clear();
  conditions_.BasePath.clear();
  viewer_->Clear();
  viewer_->SetSearchFlags(conditions_.LetterClassify, conditions_.BregFlag);
  UpdateStatusRow();
  EnableInputs(false);
  if (int message = session_.Validate(conditions_)) {
    FailValidation(message, message == IDS_KINDS_ALL_OFF ? kindButtons_[0]
                            : message == IDS_PATTERN_EMPTY ? static_cast<QWidget*>(patternBox_)
                                                           : static_cast<QWidget*>(locationBox_));
    return;
  }
  if (!AskTrailingBlank()) {
    FailValidation(0, patternBox_);
    return;
  }
  const bool started = session_.Start(conditions_, locationHistory_, patternHistory_, platform::Now());
  RefreshBoxes();
  singleLocation_ = session_.SingleLocation();
  textList_->setVisible(conditions_.SearchMoji);
  fileList_->setVisible(!conditions_.SearchMoji);
  LayOut();
  // A worker that could not be started leaves the window searching until the search button is pressed
  // again, which returns it to idle.
  (void)started;
}

// True when the search may go on: the string does not end in a blank, the question is switched off, or
// the user answered "続行". The check box's state is kept whatever the answer.
bool CSerquinDlg::AskTrailingBlank() {
  if (settings_.WhiteCheck || !EndsInBlank(conditions_.PatternText)) return true;
  PlayEndSound(settings_.WaveFile);
  CWhiteDlg question(settings_.WhiteCheck, this);
  const bool goOn = question.exec() == QDialog::Accepted;
  settings_.WhiteCheck = question.WhiteCheck();
  return goOn;
}

// A search that may not start: the message (none for 0), then idle again with the focus where the user
// has to act.
void CSerquinDlg::FailValidation(int message, QWidget* focus) {
  if (message != 0) {
    PlayEndSound(settings_.WaveFile);
    QMessageBox::warning(this, "Serquin", QtString(message), QMessageBox::Ok);
  }
  searching_ = false;
  UpdateStatusRow();
  EnableInputs(true);
  searchButton_->setChecked(false);
  focus->setFocus();
}

// Escape or the close box while a search runs: the search stops, the window stays.
void CSerquinDlg::StopByUser() {
  searching_ = false;
  searchButton_->setChecked(false);
  TakeControls();
  session_.Stop();
  UpdateStatusRow();
  EnableInputs(true);
  patternBox_->setFocus();
  emit SearchEnded();
}

bool CSerquinDlg::event(QEvent* e) {
  if (e->type() == QtNotify::kWakeType) {
    HandleNotifications();
    return true;
  }
  // The splitter drag ends when the mouse capture is lost for any reason.
  if (e->type() == QEvent::UngrabMouse) splitterDrag_.Release();
  return QDialog::event(e);
}

// Every notification queued since the last wake-up, in posting order. What an earlier search left in the
// queue is dropped: the batch frees the records nobody took. The batch's hits count as handled at once,
// so the search goes on while they are appended.
void CSerquinDlg::HandleNotifications() {
  std::deque<Notification> batch;
  notify_.TakeAll(batch);
  int hits = 0;
  for (const Notification& n : batch) hits += n.IsHit() && session_.IsCurrent(n);
  if (hits > 0) session_.HitHandled(hits);
  bool progress = false;
  for (Notification& n : batch) {
    if (!session_.IsCurrent(n)) continue;
    switch (n.msg) {
      case kMsgTextHit:
        OnTextHit(TakeTextHit(n));
        break;
      case kMsgNameHit:
        OnNameHit(TakeNameHit(n));
        break;
      case kMsgProgress:
        progress = true;
        break;
      case kMsgSearchEnd:
        OnSearchEnd(EndCode(n), EndMessage(n));
        break;
      default:
        break;
    }
  }
  // Progress notifications say only that the text changed: it is read once for all of them.
  if (progress && searching_) OnProgress();
}

void CSerquinDlg::OnTextHit(std::unique_ptr<FOUND_M> hit) {
  if (singleLocation_) FillDisplayPath(hit->displayPath, hit->Folder());
  textList_->Append(std::move(hit));
  if (!countTimer_->isActive()) countTimer_->start();
}

void CSerquinDlg::OnNameHit(std::unique_ptr<FOUND_F> hit) {
  if (singleLocation_) FillDisplayPath(hit->displayPath, hit->folder);
  fileList_->Append(std::move(hit));
  if (!countTimer_->isActive()) countTimer_->start();
}

// The folder relative to BasePath; the hits of one folder arrive together, so the last one is kept.
void CSerquinDlg::FillDisplayPath(std::string& displayPath, const std::string& folder) {
  if (folder != lastFolder_ || lastDisplayPath_.empty()) {
    lastFolder_ = folder;
    lastDisplayPath_ = DisplayPathOf(folder, conditions_.BasePath);
  }
  displayPath = lastDisplayPath_;
}

void CSerquinDlg::OnProgress() {
  std::string text;
  if (!session_.ReadProgress(text)) return;
  progressText_ = QtFromCp932(text);
  progress_->setText(progress_->fontMetrics().elidedText(progressText_, Qt::ElideMiddle,
                                                         std::max(0, progress_->width() - 8)));
}

void CSerquinDlg::OnSearchEnd(int code, const std::string& message) {
  session_.Finish();
  if (code == kEndNormal && searching_) PlayEndSound(settings_.WaveFile);
  EnableInputs(true);
  searching_ = false;
  searchButton_->setChecked(false);
  textList_->FlushAppends();
  fileList_->FlushAppends();
  if (code == kEndRegexFailed) {
    QMessageBox::warning(this, "Serquin", QtFromCp932(message), QMessageBox::Ok);
  }
  QWidget* focus = focusWidget();
  if (focus != textList_ && focus != fileList_ && focus != viewer_) {
    if (!textList_->SelectTopIfNone() && !fileList_->SelectTopIfNone()) patternBox_->setFocus();
  }
  UpdateStatusRow();
  emit SearchEnded();
}

// A newly selected text hit goes to the viewer unless the viewer already shows it.
void CSerquinDlg::OnTextRecordSelected(const FOUND_M* hit) {
  if (hit == nullptr || hit == viewerRecord_) return;
  viewerRecord_ = hit;
  viewerTimer_->start();
}

// Space and Shift+Space in the text list page the viewer while it is set to be shown.
void CSerquinDlg::OnPageViewer(bool up) {
  if (viewer_->IsShown()) viewer_->Page(up);
}

// Applies a command line; when it asks for an immediate start the focus goes to the search button and the
// search command is posted. False when it did so (the focus was set here), true when the window keeps
// its default focus.
bool CSerquinDlg::ApplyCommandLineText(const CommandLineText& text) {
  TakeControls();
  AppliedCommandLine applied =
      ApplyCommandLine(text, conditions_, locationHistory_, patternHistory_, platform::Now());
  RefreshBoxes();
  ShowKinds();
  UpdateStatusRow();
  if (!applied.startSearch) return true;
  searchButton_->setFocus();
  QTimer::singleShot(0, this, [this] {
    if (!searching_) SearchCommand();
  });
  return false;
}

void CSerquinDlg::ApplyStartupCommandLine(const std::vector<std::string>& nativeArgs) {
  if (IsSingleLocationArgument(nativeArgs)) {
    ApplySingleLocationArgument(nativeArgs.front(), locationHistory_, conditions_);
    RefreshBoxes();
  } else if (!nativeArgs.empty()) {
    ApplyCommandLineText(CommandLineTextFromArgs(nativeArgs));
  }
}

void CSerquinDlg::RaiseWindow() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void CSerquinDlg::ApplyHandOver(const HandOver& handOver) {
  if (settingsOpen_ || searching_) return;
  ApplyCommandLineText(HandOverCommandLine(handOver));
}

void CSerquinDlg::reject() {
  if (searching_) {
    StopByUser();
    return;
  }
  QDialog::reject();
}

void CSerquinDlg::done(int result) {
  Shutdown();
  QDialog::done(result);
}

// The end of the window's work: any search stops, the controls' values, the lists' columns and the frame
// go into the profile, which is written once.
void CSerquinDlg::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  session_.Stop();
  TakeControls();
  SaveFrame();
  textList_->SaveColumns(profile_.ini);
  fileList_->SaveColumns(profile_.ini);
  viewer_->SaveSettings(profile_.ini);
  std::string error;
  if (!profile_.writePath.empty() &&
      !WriteProfile(profile_, conditions_, settings_, locationHistory_, patternHistory_, error)) {
    // Settings the user made must not vanish without a word.
    QMessageBox::warning(nullptr, "Serquin", QString::fromStdString(error), QMessageBox::Ok);
  }
}
