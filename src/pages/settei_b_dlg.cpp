#include "pages/settei_b_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

#include "app/end_sound_qt.h"
#include "app/qt_text_qt.h"
#include "pages/control_id.h"
#include "pages/my_edit_widget.h"
#include "pages/number_spin_widget.h"
#include "pages/round_group_box_widget.h"
#include "resources/strings.h"

namespace {

constexpr int kMaxHistory = 127;
constexpr int kDefaultHistory = 16;

QPushButton* IconButton(int id, QStyle::StandardPixmap icon, int tip, QWidget* parent) {
  auto* button = WithId(new QPushButton(parent), id);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolTip(QtString(tip));
  button->setAutoDefault(false);
  return button;
}

std::array<int*, 4> Maxima(AppSettings& s) {
  return {&s.PatternMaximum, &s.FolderMaximum, &s.MojiExtMaximum, &s.FileExtMaximum};
}

}  // namespace

CSetteiBDlg::CSetteiBDlg(QWidget* parent) : SetteiPage(parent) {
  setObjectName("id145");
  maxima_.fill(kDefaultHistory);
  CreateControls();
}

void CSetteiBDlg::CreateControls() {
  auto* page = new QVBoxLayout(this);
  blankCheck_ = WithId(new QCheckBox("文字列末尾の空白チェック(&E)", this), 1401);
  relative_ = WithId(new QCheckBox("相対パスで表示（検索場所がひとつの時）(&R)", this), 1402);
  // Part of the page but never shown: the value only passes through.
  folderDetail_ = WithId(new QCheckBox("フォルダの詳細を収集する(&G)", this), 1403);
  folderDetail_->hide();
  topmost_ = WithId(new QCheckBox("常に手前に表示(&T)", this), 1420);
  singleInstance_ = WithId(new QCheckBox("二重起動禁止(&D)", this), 1421);
  auto* save = WithId(new QPushButton("検索結果を保存(&F)...", this), 1092);
  save->setAutoDefault(false);

  page->addWidget(blankCheck_);
  page->addWidget(relative_);
  page->addSpacing(8);
  page->addWidget(CreateSoundRow());
  page->addSpacing(8);
  page->addWidget(topmost_);
  page->addWidget(singleInstance_);
  page->addSpacing(8);
  page->addWidget(CreateHistoryGroup());
  page->addSpacing(8);
  page->addWidget(save, 0, Qt::AlignLeft);
  page->addStretch(1);

  for (QCheckBox* box : {blankCheck_, relative_, topmost_, singleInstance_}) {
    connect(box, &QCheckBox::clicked, this, [this] { ReportChange(); });
  }
  connect(save, &QPushButton::clicked, this, [this] { emit SaveResultsRequested(); });
}

QWidget* CSetteiBDlg::CreateSoundRow() {
  auto* rows = new QWidget(this);
  auto* layout = new QVBoxLayout(rows);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel("検索終了時の音(&W)：", rows);
  sound_ = WithId(new CMyEdit(rows), 1410);
  label->setBuddy(sound_);
  auto* browse = IconButton(1411, QStyle::SP_DirOpenIcon, IDS_TIP_BROWSE_SOUND, rows);
  auto* play = IconButton(1412, QStyle::SP_MediaPlay, IDS_TIP_PLAY_SOUND, rows);
  auto* row = new QHBoxLayout;
  row->addWidget(sound_, 1);
  row->addWidget(browse);
  row->addWidget(play);
  layout->addWidget(label);
  layout->addLayout(row);

  connect(sound_, &QLineEdit::textChanged, this, [this] { ReportChange(); });
  connect(sound_, &CMyEdit::Changed, this, [this] { ReportChange(); });
  connect(browse, &QPushButton::clicked, this, [this] { BrowseSound(); });
  // Plays what the field holds now; a sound that cannot be played stays silent.
  connect(play, &QPushButton::clicked, this, [this] { PlaySoundFile(Cp932FromQt(sound_->text())); });
  return rows;
}

QWidget* CSetteiBDlg::CreateHistoryGroup() {
  auto* group = WithId(new RoundGroupBox("履歴の数(&H)", this), 1430);
  auto* row = new QHBoxLayout(group);
  kinds_ = WithId(new QComboBox(group), 1431);
  kinds_->addItems({"検索文字列", "検索場所", "対象拡張子(テキスト検索)", "対象拡張子(ファイル検索)"});
  count_ = WithId(new QLineEdit(group), 1432);
  count_->setFixedWidth(count_->fontMetrics().horizontalAdvance("0000") + 12);
  countSpin_ = WithId(new CNumberSpin(count_, 0, kMaxHistory, group), 1433);
  row->addWidget(kinds_);
  row->addSpacing(12);
  row->addWidget(count_);
  row->addWidget(countSpin_);
  row->addStretch(1);

  connect(kinds_, &QComboBox::currentIndexChanged, this, [this](int kind) { ChangeKind(kind); });
  connect(count_, &QLineEdit::textChanged, this, [this] { ReportChange(); });
  return group;
}

void CSetteiBDlg::LoadValues(const SetteiValues& values) {
  loading_ = true;
  const AppSettings& s = values.settings;
  blankCheck_->setChecked(!s.WhiteCheck);
  relative_->setChecked(s.SoutaiF);
  folderDetail_->setChecked(values.conditions.FolderDetail);
  sound_->setText(QtFromCp932(s.WaveFile));
  topmost_->setChecked(s.Frame.TemaeF);
  singleInstance_->setChecked(s.MutexF);
  const std::array<int, 4> maxima = {s.PatternMaximum, s.FolderMaximum, s.MojiExtMaximum, s.FileExtMaximum};
  for (size_t k = 0; k < maxima_.size(); ++k) {
    maxima_[k] = maxima[k] >= 0 && maxima[k] <= kMaxHistory ? maxima[k] : kDefaultHistory;
  }
  kind_ = s.RirekiKind >= 0 && s.RirekiKind <= 3 ? s.RirekiKind : 0;
  kinds_->setCurrentIndex(kind_);
  count_->setText(QString::number(maxima_[static_cast<size_t>(kind_)]));
  loading_ = false;
}

void CSetteiBDlg::StoreValues(SetteiValues& values) {
  AppSettings& s = values.settings;
  s.WhiteCheck = !blankCheck_->isChecked();
  s.SoutaiF = relative_->isChecked();
  values.conditions.FolderDetail = folderDetail_->isChecked();
  s.WaveFile = Cp932FromQt(sound_->text());
  s.Frame.TemaeF = topmost_->isChecked();
  s.MutexF = singleInstance_->isChecked();
  maxima_[static_cast<size_t>(kind_)] = countSpin_->Value();
  s.RirekiKind = kind_;
  const std::array<int*, 4> maxima = Maxima(s);
  for (size_t k = 0; k < maxima.size(); ++k) *maxima[k] = maxima_[k];
}

void CSetteiBDlg::ChangeKind(int kind) {
  // Showing the values selects their kind; that is no switch by the user.
  if (loading_ || kind < 0 || kind > 3 || kind == kind_) return;
  maxima_[static_cast<size_t>(kind_)] = countSpin_->Value();
  kind_ = kind;
  count_->setText(QString::number(maxima_[static_cast<size_t>(kind_)]));
}

// An empty field starts the chooser in the user's documents folder; otherwise at the sound file.
void CSetteiBDlg::BrowseSound() {
  QFileDialog dialog(this, "検索終了時の音の参照 - Serquin");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({"wav(*.wav)", "全て(*)"});
  if (sound_->text().isEmpty()) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog.setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
  } else {
    dialog.selectFile(sound_->text());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  sound_->setText(dialog.selectedFiles().first());
  ReportChange();
}

void CSetteiBDlg::ReportChange() {
  if (!loading_) emit Changed();
}
