// The main window's construction, its controls and measures, the profile, the layout and the status row.
// The search lifecycle is in serquin_search_dlg.cpp, keyboard and mouse in serquin_input_dlg.cpp.
#include "app/serquin_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "app/about_dlg.h"
#include "app/help_window_qt.h"
#include "app/main_state.h"
#include "app/profile.h"
#include "app/qt_text_qt.h"
#include "app/size_grip_widget.h"
#include "cmdline/command_line_dlg.h"
#include "cmdline/composer.h"
#include "matching/breg.h"
#include "pages/my_combo_widget.h"
#include "platform/cp932.h"
#include "platform/local_time.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"
#include "results/viewer_widget.h"

namespace {

// The design's smallest client area; the measured controls may make it larger.
constexpr int kDesignedMinWidth = 560;
constexpr int kDesignedMinHeight = 400;

LayoutSize SizeOf(const QWidget* w) {
  return {w->width(), w->height()};
}

}  // namespace

CSerquinDlg::CSerquinDlg(ProfileStore& profile, std::vector<std::string> nativeArgs, QWidget* parent)
    : QDialog(parent), profile_(profile) {
  setObjectName("id102");
  setWindowTitle("Serquin");
  setWindowIcon(QIcon(":/serquin.png"));
  // A top-level window of its own with minimise and maximise boxes, like any main window.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);
  setMouseTracking(true);
  setAcceptDrops(true);
  ResetDateRange(conditions_, platform::Now());
  CreateControls();
  CreateShortcuts();
  ConnectHitActions();
  LoadFromProfile();
  MeasureDesign();
  ApplyFrame();
  const int screenWidth = screen() ? screen()->geometry().width() : 0;
  textList_->Setup(settings_.SoutaiF, singleLocation_, settings_.EditorFile, settings_.EditorParam, profile_.ini,
                   screenWidth);
  fileList_->Setup(settings_.SoutaiF, singleLocation_, settings_.EditorFile, settings_.EditorParam, profile_.ini,
                   screenWidth);
  UpdateStatusRow();
  fileList_->show();
  textList_->hide();
  viewer_->hide();
  LayOut();
  ApplyStartupCommandLine(nativeArgs);
  ShowKinds();
}

CSerquinDlg::~CSerquinDlg() {
  Shutdown();
}

QPushButton* CSerquinDlg::MakeButton(int id, const QString& text, bool checkable) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(QString("id%1").arg(id));
  button->setCheckable(checkable);
  // Enter is the window's own rule (EnterCommand), never a button's default.
  button->setAutoDefault(false);
  controls_[id] = button;
  return button;
}

QLabel* CSerquinDlg::MakeLabel(int id, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString("id%1").arg(id));
  controls_[id] = label;
  return label;
}

void CSerquinDlg::CreateControls() {
  QLabel* patternLabel = MakeLabel(kIdPatternLabel, "文字列(&M):");
  patternBox_ = new CMyComboPattern(this);
  locationBox_ = new CMyComboFolder(this);
  QLabel* locationLabel = MakeLabel(kIdLocationLabel, "場所(&L):");
  for (auto [box, id, label] : {std::tuple{patternBox_, kIdPatternBox, patternLabel},
                                std::tuple{locationBox_, kIdLocationBox, locationLabel}}) {
    box->setObjectName(QString("id%1").arg(id));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    // Enter and Escape in a box are the window's rules, not the box's.
    box->lineEdit()->installEventFilter(this);
    box->installEventFilter(this);
    label->setBuddy(box);
    controls_[id] = box;
  }
  searchButton_ = MakeButton(kIdSearchButton, "検索(&G)", true);
  kindButtons_ = {MakeButton(kIdTextButton, "テキスト", true), MakeButton(kIdFileButton, "ファイル", true),
                  MakeButton(kIdFolderButton, "フォルダ", true)};
  QPushButton* settings = MakeButton(kIdSettingsButton, "設定(&S)...", false);
  QPushButton* browse = MakeButton(kIdBrowseButton, "参照(&B)...", false);
  connect(searchButton_, &QPushButton::clicked, this, [this] { SearchCommand(); });
  for (int k = 0; k < 3; ++k) {
    connect(kindButtons_[k], &QPushButton::clicked, this, [this, k] { ClickKind(k); });
  }
  connect(browse, &QPushButton::clicked, this, [this] { ChooseFolder(); });
  connect(settings, &QPushButton::clicked, this, [this] { OpenSettings(); });

  textList_ = new CListMoji(this);
  fileList_ = new CListFile(this);
  controls_[kIdTextList] = textList_;
  controls_[kIdFileList] = fileList_;
  connect(textList_, &CListMoji::RecordSelected, this, [this](const FOUND_M* hit) { OnTextRecordSelected(hit); });
  connect(textList_, &CListMoji::PageViewer, this, [this](bool up) { OnPageViewer(up); });

  viewer_ = new CViewer(this);
  controls_[kIdViewer] = viewer_;
  viewerTimer_ = new QTimer(this);
  viewerTimer_->setSingleShot(true);
  viewerTimer_->setInterval(0);
  connect(viewerTimer_, &QTimer::timeout, this, [this] { viewer_->Show(viewerRecord_, conditions_.PatternText); });

  hitCount_ = MakeLabel(kIdHitCount, "0");
  progress_ = MakeLabel(kIdProgress, "");
  hitCount_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  progress_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  hitCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  const char* indicatorTexts[kIndicatorCount] = {"SJIS", "ｻｲｽﾞ", "日時", "属性"};
  for (int slot = 0; slot < kIndicatorCount; ++slot) {
    QLabel* indicator = MakeLabel(kIndicatorIds[slot], indicatorTexts[slot]);
    indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    indicator->setAlignment(Qt::AlignCenter);
    indicator->hide();
  }
  auto* grip = new CSizeGrip(this);
  grip->setObjectName("id1093");
  controls_[kIdSizeGrip] = grip;

  countTimer_ = new QTimer(this);
  countTimer_->setSingleShot(true);
  countTimer_->setInterval(50);
  connect(countTimer_, &QTimer::timeout, this, [this] { ShowHitCount(); });
}

void CSerquinDlg::CreateShortcuts() {
  struct Key {
    QKeySequence keys;
    std::function<void()> action;
  };
  const Key keys[] = {
      {QKeySequence("Ctrl+G"), [this] { searchButton_->click(); }},
      {QKeySequence("Ctrl+T"), [this] { kindButtons_[0]->click(); }},
      {QKeySequence("Alt+T"), [this] { kindButtons_[0]->click(); }},
      {QKeySequence("Ctrl+F"), [this] { kindButtons_[1]->click(); }},
      {QKeySequence("Alt+F"), [this] { kindButtons_[1]->click(); }},
      {QKeySequence("Ctrl+D"), [this] { kindButtons_[2]->click(); }},
      {QKeySequence("Alt+D"), [this] { kindButtons_[2]->click(); }},
      {QKeySequence("Ctrl+B"), [this] { static_cast<QPushButton*>(Control(kIdBrowseButton))->click(); }},
      {QKeySequence("Ctrl+S"), [this] { static_cast<QPushButton*>(Control(kIdSettingsButton))->click(); }},
      {QKeySequence(Qt::Key_F2), [this] { ShowCommandLine(); }},
      {QKeySequence(Qt::Key_F1), [this] { ShowHelpPage("mainview", this); }},
      // The window has no system menu of its own on this desktop: the About box is on Ctrl+F1 and on the
      // window's context menu.
      {QKeySequence("Ctrl+F1"), [this] { ShowAbout(); }},
  };
  for (const Key& key : keys) {
    auto* shortcut = new QShortcut(key.keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, key.action);
  }
  setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* about = new QAction("バージョン情報(&A)...", this);
  connect(about, &QAction::triggered, this, [this] { ShowAbout(); });
  addAction(about);
}

void CSerquinDlg::LoadFromProfile() {
  LoadProfile(profile_.ini, conditions_, settings_, locationHistory_, patternHistory_,
              matching::IsRegexLibraryPresent);
  viewer_->LoadSettings(profile_.ini);
  RefreshBoxes();
}

// The sizes the layout builds on, measured from the controls as the toolkit draws them. Buttons share one
// size, wide enough for the widest caption; both box labels share the wider label's width, so that the two
// boxes start at the same x.
void CSerquinDlg::MeasureDesign() {
  QSize button(72, 0);
  for (int id : {kIdSearchButton, kIdTextButton, kIdFileButton, kIdFolderButton, kIdSettingsButton,
                 kIdBrowseButton}) {
    button = button.expandedTo(Control(id)->sizeHint());
  }
  for (int id : {kIdSearchButton, kIdTextButton, kIdFileButton, kIdFolderButton, kIdSettingsButton,
                 kIdBrowseButton}) {
    Control(id)->resize(button);
  }
  QSize label = Control(kIdPatternLabel)->sizeHint().expandedTo(Control(kIdLocationLabel)->sizeHint());
  Control(kIdPatternLabel)->resize(label);
  Control(kIdLocationLabel)->resize(label);
  const int comboHeight = std::max(patternBox_->sizeHint().height(), locationBox_->sizeHint().height());
  patternBox_->resize(patternBox_->width(), comboHeight);
  const QFontMetrics metrics = fontMetrics();
  const int statusHeight = metrics.height() + 6;
  hitCount_->resize(metrics.horizontalAdvance("00000000") + 10, statusHeight);
  for (int slot = 0; slot < kIndicatorCount; ++slot) {
    QWidget* indicator = Control(kIndicatorIds[slot]);
    indicator->resize(indicator->sizeHint().width() + 8, statusHeight);
    measures_.indicators[slot] = SizeOf(indicator);
  }
  Control(kIdSizeGrip)->resize(kSizeGripSize, kSizeGripSize);

  measures_.patternLabel = SizeOf(Control(kIdPatternLabel));
  measures_.locationLabel = SizeOf(Control(kIdLocationLabel));
  measures_.comboHeight = comboHeight;
  measures_.searchButton = measures_.textButton = measures_.fileButton = measures_.folderButton =
      measures_.settingsButton = measures_.browseButton = {button.width(), button.height()};
  measures_.hitCount = SizeOf(hitCount_);
  const int width = std::max(kDesignedMinWidth, 6 * button.width());
  const int height = std::max(kDesignedMinHeight, 5 * button.height() + 3 * statusHeight + 160);
  measures_.window = {width, height};
  setMinimumSize(width, height);
}

void CSerquinDlg::ApplyFrame() {
  const QRect work = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
  FrameRect place =
      PlaceFrame(settings_.Frame, measures_.window.width, measures_.window.height, work.width(), work.height());
  resize(place.width, place.height);
  move(work.x() + place.x, work.y() + place.y);
  if (settings_.Frame.TemaeF) setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

// Stores the restored rectangle (work-area coordinates) and the clamped splitter for the profile.
void CSerquinDlg::SaveFrame() {
  const QRect work = screen() ? screen()->availableGeometry() : QRect();
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  settings_.Frame.SizeW = normal.width();
  settings_.Frame.SizeH = normal.height();
  settings_.Frame.IchiX = normal.x() - work.x();
  settings_.Frame.IchiY = normal.y() - work.y();
}

QWidget* CSerquinDlg::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

// The viewer has a pane only while it is to be shown with one of its three ranges, and only beside the
// text list.
bool CSerquinDlg::ViewerShown() const {
  return viewer_->IsShown() && textList_->isVisibleTo(this);
}

void CSerquinDlg::LayOut() {
  LayoutState state;
  state.client = {width(), height()};
  state.viewerY = settings_.Frame.ViewerY;
  state.viewerShown = ViewerShown();
  for (int slot = 0; slot < kIndicatorCount; ++slot) {
    state.indicatorVisible[slot] = Control(kIndicatorIds[slot])->isVisibleTo(this);
  }
  MainLayout layout = LayOutMainDialog(measures_, state);
  settings_.Frame.ViewerY = layout.viewerY;
  for (const ControlPlace& place : layout.places) {
    if (QWidget* control = Control(place.id)) {
      control->setGeometry(place.rect.x, place.rect.y, place.rect.width, place.rect.height);
    }
  }
  viewer_->setVisible(state.viewerShown);
  splitter_ = layout.splitter;
  progress_->setText(progress_->fontMetrics().elidedText(progressText_, Qt::ElideMiddle,
                                                         std::max(0, progress_->width() - 8)));
}

// Mirrors a history into its combo box. The first item shows the native form the box was given (a name
// code page 932 cannot spell), so the user sees what they typed rather than "?" in its place.
void CSerquinDlg::FillBox(QComboBox* box, const HistoryList& history, const std::string& native) {
  QSignalBlocker block(box);
  box->clear();
  for (const HistoryItem& item : history.Items()) box->addItem(QtFromCp932(item.text));
  if (!native.empty() && history.Selected() == 0 && box->count() > 0) box->setItemText(0, QtFromNative(native));
  box->setCurrentIndex(history.Selected());
  if (history.Selected() < 0) box->setEditText(QString());
}

void CSerquinDlg::RefreshBoxes() {
  FillBox(patternBox_, patternHistory_, conditions_.PatternNative);
  FillBox(locationBox_, locationHistory_, conditions_.FolderNative);
}

// Takes the boxes' texts and the kind buttons into the conditions. A text that code page 932 cannot hold
// keeps its native form beside it, which the search uses.
void CSerquinDlg::TakeControls() {
  auto take = [](const QComboBox* box, std::string& cp932, std::string& native) {
    const QString text = box->currentText();
    const std::string utf8 = text.toStdString();
    cp932 = Cp932FromQt(text);
    native = platform::Cp932CanHold(utf8) ? std::string() : NativeFromQt(text);
  };
  take(patternBox_, conditions_.PatternText, conditions_.PatternNative);
  take(locationBox_, conditions_.FolderText, conditions_.FolderNative);
}

void CSerquinDlg::ShowKinds() {
  kindButtons_[0]->setChecked(conditions_.SearchMoji);
  kindButtons_[1]->setChecked(conditions_.SearchFile);
  kindButtons_[2]->setChecked(conditions_.SearchFolder);
}

void CSerquinDlg::ClickKind(int kind) {
  ToggleKind(conditions_, static_cast<SearchKind>(kind));
  ShowKinds();
  UpdateStatusRow();
}

void CSerquinDlg::UpdateStatusRow() {
  const std::array<bool, kIndicatorCount> visible = VisibleIndicators(conditions_, searching_);
  static_cast<QLabel*>(Control(kIdCodeIndicator))->setText(CodeIndicatorText(conditions_.ConvertFlag));
  for (int slot = 0; slot < kIndicatorCount; ++slot) Control(kIndicatorIds[slot])->setVisible(visible[slot]);
  LayOut();
  progressText_.clear();
  progress_->clear();
  ShowHitCount();
}

void CSerquinDlg::ShowHitCount() {
  hitCount_->setText(QString::number(textList_->Count() + fileList_->Count()));
}

void CSerquinDlg::EnableInputs(bool enable) {
  for (int id : {kIdPatternLabel, kIdPatternBox, kIdTextButton, kIdFileButton, kIdFolderButton,
                 kIdSettingsButton, kIdLocationLabel, kIdLocationBox, kIdBrowseButton}) {
    Control(id)->setEnabled(enable);
  }
}

void CSerquinDlg::ChooseFolder() {
  QFileDialog dialog(this, "フォルダの参照 - Serquin");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setLabelText(QFileDialog::LookIn, "検索場所を選択してください");
  TakeControls();
  const QString start = QtFromNative(NativeFolderText(conditions_));
  if (QFileInfo(start).isDir()) dialog.setDirectory(start);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().first();
  TakeControls();
  conditions_.FolderText = Cp932FromQt(chosen);
  conditions_.FolderNative = platform::Cp932CanHold(chosen.toStdString()) ? "" : NativeFromQt(chosen);
  locationHistory_.PushFront(conditions_.FolderText);
  RefreshBoxes();
}

void CSerquinDlg::ShowCommandLine() {
  TakeControls();
  const std::string text =
      Compose(BuildComposerRecord(conditions_, conditions_.FolderText, conditions_.PatternText));
  CCommandLineDlg dialog(QtFromCp932(text), this);
  dialog.exec();
}

void CSerquinDlg::ShowAbout() {
  CAboutDlg dialog(this);
  dialog.exec();
}
