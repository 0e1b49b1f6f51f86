#include "pages/filter_b_dlg.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt_text_qt.h"
#include "matching/breg.h"
#include "pages/control_id.h"
#include "pages/depth_edit_widget.h"
#include "pages/my_combo_ext_widget.h"
#include "pages/round_group_box_widget.h"
#include "pages/sub_folder_btn_widget.h"
#include "resources/strings.h"

namespace {

// Shown on the disabled regular-expression box, so the user knows why it cannot be chosen.
constexpr char kRegexMissingHint[] = "正規表現ライブラリ (libbregexp.so) が見つからないため使えません";

}  // namespace

CFilterBDlg::CFilterBDlg(QWidget* parent) : SetteiPage(parent) {
  auto* page = new QVBoxLayout(this);
  page->addWidget(CreateDepthRow());
  regex_ = WithId(new QCheckBox("正規表現を使う(&R)", this), 1206);
  page->addWidget(regex_);
  page->addWidget(CreateTextGroup());
  page->addWidget(CreateFileGroup());
  page->addStretch(1);
  regexPresent_ = matching::IsRegexLibraryPresent();
  regex_->setEnabled(regexPresent_);
  if (!regexPresent_) regex_->setToolTip(QString::fromUtf8(kRegexMissingHint));
  Connect();
  ShowDepthMode();
}

QWidget* CFilterBDlg::CreateDepthRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  subFolder_ = WithId(new CSubFolderBtn("サブフォルダも検索(&S)", row), 1201);
  depthBefore_ = WithId(new QLabel("サブフォルダは", row), 1204);
  depth_ = WithId(new CDepthEdit(row), 1202);
  depthSpin_ = WithId(new UpDownButtons(depth_, row), 1203);
  depthAfter_ = WithId(new QLabel("階層まで", row), 1205);
  layout->addWidget(subFolder_);
  layout->addWidget(depthBefore_);
  layout->addSpacing(4);
  layout->addWidget(depth_);
  layout->addWidget(depthSpin_);
  layout->addSpacing(4);
  layout->addWidget(depthAfter_);
  layout->addStretch(1);
  // The row keeps its height whichever of the two forms shows.
  row->setMinimumHeight(depth_->sizeHint().height());
  return row;
}

// Both groups' boxes start at the same x: their label column fits the wider label.
int CFilterBDlg::LabelColumnWidth() const {
  const QFontMetrics metrics = fontMetrics();
  return std::max(metrics.horizontalAdvance("文字コード:"), metrics.horizontalAdvance("拡張子:")) + 4;
}

QWidget* CFilterBDlg::CreateTextGroup() {
  auto* group = WithId(new RoundGroupBox("テキスト検索", this), 1220);
  ignoreCase_ = WithId(new QCheckBox("大文字・小文字を区別しない(&I)", group), 1221);
  code_ = WithId(new QComboBox(group), 1222);
  for (const char* name : {"ShiftJIS", "EUC", "JIS", "(自動)"}) code_->addItem(QString::fromUtf8(name));
  mojiExt_ = WithId(new CMyComboExt(group), 1223);
  mojiAll_ = WithId(new QCheckBox("すべて", group), 1224);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(12, 22, 12, 10);
  grid->setColumnMinimumWidth(0, LabelColumnWidth());
  grid->addWidget(ignoreCase_, 0, 0, 1, 3);
  grid->addWidget(new QLabel("文字コード:", group), 1, 0);
  grid->addWidget(code_, 1, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel("拡張子:", group), 2, 0);
  grid->addWidget(mojiExt_, 2, 1);
  grid->addWidget(mojiAll_, 2, 2);
  grid->setColumnStretch(1, 1);
  return group;
}

QWidget* CFilterBDlg::CreateFileGroup() {
  auto* group = WithId(new RoundGroupBox("ファイル検索", this), 1240);
  fileExt_ = WithId(new CMyComboExt(group), 1241);
  fileAll_ = WithId(new QCheckBox("すべて", group), 1242);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(12, 22, 12, 10);
  grid->setColumnMinimumWidth(0, LabelColumnWidth());
  grid->addWidget(new QLabel("拡張子:", group), 0, 0);
  grid->addWidget(fileExt_, 0, 1);
  grid->addWidget(fileAll_, 0, 2);
  grid->setColumnStretch(1, 1);
  return group;
}

void CFilterBDlg::Connect() {
  for (QCheckBox* box : {mojiAll_, fileAll_}) {
    connect(box, &QCheckBox::clicked, this, [this] {
      EnableExtBoxes();
      UserChanged();
    });
  }
  for (QCheckBox* box : {static_cast<QCheckBox*>(subFolder_), regex_, ignoreCase_}) {
    connect(box, &QCheckBox::clicked, this, [this] { UserChanged(); });
  }
  connect(code_, &QComboBox::activated, this, [this] { UserChanged(); });
  for (CMyComboExt* box : {mojiExt_, fileExt_}) {
    connect(box->lineEdit(), &QLineEdit::textEdited, this, [this] { UserChanged(); });
    connect(box, &QComboBox::activated, this, [this] { UserChanged(); });
    connect(box, &CMyComboExt::Dropped, this, [this] { UserChanged(); });
  }
  connect(depth_, &NumberEdit::Edited, this, [this] { UserChanged(); });
  // The controls ask for the menu as a posted message would: once their own click is handled.
  auto menuAtCursor = [this] { ShowDepthMenu(QCursor::pos()); };
  connect(subFolder_, &CSubFolderBtn::DepthMenuRequested, this, menuAtCursor, Qt::QueuedConnection);
  connect(depth_, &CDepthEdit::DepthMenuRequested, this, menuAtCursor, Qt::QueuedConnection);
}

void CFilterBDlg::LoadValues(const SetteiValues& values) {
  const SearchConditions& c = values.conditions;
  loading_ = true;
  mojiExt_->SetHistory(c.MojiExtList);
  fileExt_->SetHistory(c.FileExtList);
  mojiAll_->setChecked(c.MojiAll);
  fileAll_->setChecked(c.FileAll);
  EnableExtBoxes();
  depthDrawF_ = c.DepthDrawF;
  subFolder_->setChecked(c.SubFolder);
  depth_->SetValue(c.Depth);
  ShowDepthMode();
  code_->setCurrentIndex(c.ConvertFlag >= 0 && c.ConvertFlag <= 3 ? c.ConvertFlag : 3);
  ignoreCase_->setChecked(c.LetterClassify);
  // Without the library no search could use the flag, so it is neither shown nor handed back.
  regex_->setChecked(regexPresent_ && c.BregFlag);
  loading_ = false;
}

void CFilterBDlg::StoreValues(SetteiValues& values) {
  SearchConditions& c = values.conditions;
  c.DepthDrawF = depthDrawF_;
  c.SubFolder = subFolder_->isChecked();
  c.Depth = depth_->Value();
  c.ConvertFlag = std::max(0, code_->currentIndex());
  c.LetterClassify = ignoreCase_->isChecked();
  c.BregFlag = regexPresent_ && regex_->isChecked();
  c.MojiAll = mojiAll_->isChecked();
  c.FileAll = fileAll_->isChecked();
  c.MojiExtList = mojiExt_->CommitText();
  c.FileExtList = fileExt_->CommitText();
}

void CFilterBDlg::ShowDepthMenu(const QPoint& globalPos) {
  QMenu menu(this);
  auto* group = new QActionGroup(&menu);
  for (int id : {IDS_MENU_SUBFOLDER_SWITCH, IDS_MENU_DEPTH_LEVELS}) {
    QAction* action = menu.addAction(QtString(id));
    action->setObjectName(QString("id%1").arg(id));
    action->setCheckable(true);
    action->setChecked(depthDrawF_ == (id == IDS_MENU_DEPTH_LEVELS));
    group->addAction(action);
  }
  QAction* chosen = menu.exec(globalPos);
  if (!chosen) return;
  depthDrawF_ = chosen->objectName() == QString("id%1").arg(IDS_MENU_DEPTH_LEVELS);
  ShowDepthMode();
  UserChanged();
}

// A right click on the page between the depth labels (they take no clicks of their own) opens the
// depth-mode menu too, while the depth field shows.
void CFilterBDlg::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton && depthDrawF_) {
    const QRect before(depthBefore_->mapTo(this, QPoint(0, 0)), depthBefore_->size());
    const QRect after(depthAfter_->mapTo(this, QPoint(0, 0)), depthAfter_->size());
    const QPoint at = e->position().toPoint();
    // The depth field between the labels asks for the menu itself.
    const QWidget* hit = childAt(at);
    const bool onField = hit && (hit == depth_ || depthSpin_->isAncestorOf(hit) || hit == depthSpin_);
    if (!onField && before.united(after).contains(at)) {
      QMetaObject::invokeMethod(this, [this] { ShowDepthMenu(QCursor::pos()); }, Qt::QueuedConnection);
    }
  }
  SetteiPage::mousePressEvent(e);
}

void CFilterBDlg::ShowDepthMode() {
  subFolder_->setVisible(!depthDrawF_);
  for (QWidget* w : std::initializer_list<QWidget*>{depth_, depthSpin_, depthBefore_, depthAfter_}) {
    w->setVisible(depthDrawF_);
  }
}

void CFilterBDlg::EnableExtBoxes() {
  mojiExt_->setEnabled(!mojiAll_->isChecked());
  fileExt_->setEnabled(!fileAll_->isChecked());
}

void CFilterBDlg::UserChanged() {
  if (!loading_) emit Changed();
}
