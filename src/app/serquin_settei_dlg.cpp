// The main window's side of the settings dialog: the copy of its conditions and settings the dialog edits,
// and the values it hands back on OK and on "適用", taken over in a fixed order.
#include <QPushButton>

#include "app/serquin_dlg.h"
#include "app/settei_dlg.h"
#include "pages/settei_b_dlg.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"
#include "results/viewer_widget.h"

// Opens the settings dialog modally. While it is open, hand-overs from a second start are ignored.
void CSerquinDlg::OpenSettings() {
  if (settingsOpen_ || searching_) return;
  TakeControls();
  CSetteiDlg dialog(MakeSetteiValues(), this);
  connect(&dialog, &CSetteiDlg::Applied, this, [this, &dialog](const SetteiValues& values) {
    ApplySetteiValues(values);
    dialog.activateWindow();
  });
  // The other page's "検索結果を保存(&F)..." asks this window to save its results, over the dialog.
  if (auto* other = dialog.findChild<CSetteiBDlg*>()) {
    connect(other, &CSetteiBDlg::SaveResultsRequested, this, [this] { SaveResults(); });
  }
  settingsOpen_ = true;
  const bool ok = dialog.exec() == QDialog::Accepted;
  settingsOpen_ = false;
  if (ok) ApplySetteiValues(dialog.Values());
}

SetteiValues CSerquinDlg::MakeSetteiValues() const {
  SetteiValues values;
  values.conditions = conditions_;
  values.settings = settings_;
  values.settings.Frame.TemaeF = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  values.viewer = ViewerValues();
  return values;
}

// Takes the dialog's values over in the order the window relies on: the fields that change what is shown
// come before the status row and the layout that show them.
void CSerquinDlg::ApplySetteiValues(const SetteiValues& values) {
  const SearchConditions& in = values.conditions;
  const AppSettings& set = values.settings;
  settings_.OptionTab = set.OptionTab;
  conditions_.DepthDrawF = in.DepthDrawF;
  conditions_.SubFolder = in.SubFolder;
  conditions_.Depth = in.Depth;
  conditions_.ConvertFlag = in.ConvertFlag;
  conditions_.LetterClassify = in.LetterClassify;
  conditions_.BregFlag = in.BregFlag;
  settings_.WhiteCheck = set.WhiteCheck;
  if (settings_.SoutaiF != set.SoutaiF) {
    // The lists read the switch whenever they paint; they redraw every row at once.
    settings_.SoutaiF = set.SoutaiF;
    textList_->RefreshTexts();
    fileList_->RefreshTexts();
  }
  conditions_.FolderDetail = in.FolderDetail;
  SetViewerValues(values.viewer);
  settings_.EditorFile = set.EditorFile;
  settings_.EditorParam = set.EditorParam;
  settings_.WaveFile = set.WaveFile;
  settings_.MutexF = set.MutexF;
  settings_.CustomIro = set.CustomIro;
  ApplyTopmost(set.Frame.TemaeF);
  settings_.RirekiKind = set.RirekiKind;
  settings_.PatternMaximum = set.PatternMaximum;
  settings_.FolderMaximum = set.FolderMaximum;
  settings_.MojiExtMaximum = set.MojiExtMaximum;
  settings_.FileExtMaximum = set.FileExtMaximum;
  ApplyFilterValues(in);
  UpdateStatusRow();
  textList_->setVisible(conditions_.SearchMoji);
  fileList_->setVisible(!conditions_.SearchMoji);
  LayOut();
}

// The extension lists and their switches, the date, size and attribute filters.
void CSerquinDlg::ApplyFilterValues(const SearchConditions& in) {
  conditions_.MojiExtList = in.MojiExtList;
  conditions_.FileExtList = in.FileExtList;
  conditions_.FileAll = in.FileAll;
  conditions_.MojiAll = in.MojiAll;
  conditions_.TimeFilter = in.TimeFilter;
  conditions_.TimeKind = in.TimeKind;
  conditions_.RangeKind = in.RangeKind;
  conditions_.DateFrom = in.DateFrom;
  conditions_.DateTo = in.DateTo;
  conditions_.WholeDay = in.WholeDay;
  conditions_.PastDay = in.PastDay;
  conditions_.PastTime = in.PastTime;
  conditions_.SizeKind = in.SizeKind;
  conditions_.SizeMin = in.SizeMin;
  conditions_.SizeMax = in.SizeMax;
  conditions_.SizeMinUnit = in.SizeMinUnit;
  conditions_.SizeMaxUnit = in.SizeMaxUnit;
  conditions_.AttrReadonly = in.AttrReadonly;
  conditions_.AttrHidden = in.AttrHidden;
  conditions_.AttrSystem = in.AttrSystem;
  conditions_.AttrArchived = in.AttrArchived;
}

// Always on top at once; changing the flag re-creates the window, which must then be shown again.
void CSerquinDlg::ApplyTopmost(bool topmost) {
  settings_.Frame.TemaeF = topmost;
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
  setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  show();
}

// The viewer's values the settings dialog edits; its per-path overrides pass through unchanged.
ViewerSettings CSerquinDlg::ViewerValues() const {
  return viewer_->Settings();
}

// Takes the dialog's five viewer values, then shows the viewer's hit again so that they take effect at once.
void CSerquinDlg::SetViewerValues(const ViewerSettings& viewer) {
  ViewerSettings& mine = viewer_->Settings();
  mine.ViewerRangeView = viewer.ViewerRangeView;
  mine.ViewerRange = viewer.ViewerRange;
  mine.ViewerMae = viewer.ViewerMae;
  mine.ViewerAto = viewer.ViewerAto;
  mine.ViewerLookIro = viewer.ViewerLookIro;
  if (viewerRecord_ != nullptr) viewer_->Show(viewerRecord_, conditions_.PatternText);
}
