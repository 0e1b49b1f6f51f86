#include "pages/settei_a_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "app/qt_text_qt.h"
#include "pages/control_id.h"
#include "pages/my_edit_widget.h"
#include "pages/number_spin_widget.h"
#include "pages/round_group_box_widget.h"
#include "resources/strings.h"

namespace {

constexpr int kMaxLines = 255;
constexpr uint32_t kColourBits = 0xFFFFFF;

QColor QtColour(uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

uint32_t ColourValue(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
         static_cast<uint32_t>(colour.blue()) << 16;
}

// The marker menu's items: command, text as shown (a doubled "&" is a plain "&"), the marker inserted.
struct Marker {
  int command;
  const char* text;
  const char* marker;
};
constexpr Marker kMarkers[] = {
    {32821, "&&&F ファイル パス", "&F"},
    {32822, "&&&D ファイル フォルダ", "&D"},
    {32820, "&&&N ファイル名", "&N"},
    {32823, "&&&L 行数", "&L"},
};

}  // namespace

CSetteiADlg::CSetteiADlg(QWidget* parent) : SetteiPage(parent) {
  setObjectName("id144");
  CreateControls();
  ApplyEnabling();
  ShowColour();
}

void CSetteiADlg::CreateControls() {
  auto* page = new QVBoxLayout(this);
  page->addWidget(CreateViewerGroup());
  page->addSpacing(8);
  page->addWidget(CreateEditorRows());
  page->addStretch(1);
}

QWidget* CSetteiADlg::CreateViewerGroup() {
  auto* group = WithId(new RoundGroupBox("簡易表示", this), 1301);
  auto* grid = new QGridLayout(group);
  show_ = WithId(new QCheckBox("表示する(&V)", group), 1303);
  grid->addWidget(show_, 0, 0, 1, 3);
  ranges_ = new QButtonGroup(this);
  const char* rangeTexts[] = {"全部(&A)", "指定(&N)", "<HR>の範囲(&H)"};
  for (int range = 0; range < 3; ++range) {
    auto* radio = WithId(new QRadioButton(rangeTexts[range], group), 1304 + range);
    ranges_->addButton(radio, range);
    grid->addWidget(radio, 1 + range, 0);
  }
  // The before and after fields belong to "指定" and sit on its row.
  auto* lines = new QHBoxLayout;
  auto addField = [&](int labelId, const char* text, int editId, int spinId, QLabel*& label, QLineEdit*& edit,
                      CNumberSpin*& spin) {
    label = WithId(new QLabel(text, group), labelId);
    edit = WithId(new QLineEdit(group), editId);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("0000") + 12);
    label->setBuddy(edit);
    spin = WithId(new CNumberSpin(edit, 0, kMaxLines, group), spinId);
    lines->addWidget(label);
    lines->addWidget(edit);
    lines->addWidget(spin);
    lines->addSpacing(12);
  };
  addField(1311, "前(&F)：", 1307, 1309, beforeLabel_, before_, beforeSpin_);
  addField(1312, "後(&B)：", 1308, 1310, afterLabel_, after_, afterSpin_);
  lines->addStretch(1);
  grid->addLayout(lines, 2, 1);
  auto* colourRow = new QHBoxLayout;
  colourLabel_ = WithId(new QLabel("強調色(&L)：", group), 1321);
  colourButton_ = WithId(new QPushButton(group), 1320);
  colourButton_->setFixedSize(56, colourButton_->sizeHint().height());
  colourButton_->setIconSize(QSize(40, colourButton_->height() - 10));
  colourLabel_->setBuddy(colourButton_);
  colourRow->addWidget(colourLabel_);
  colourRow->addWidget(colourButton_);
  colourRow->addStretch(1);
  grid->addLayout(colourRow, 4, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  connect(show_, &QCheckBox::clicked, this, [this] {
    ApplyEnabling();
    ReportChange();
  });
  connect(ranges_, &QButtonGroup::idClicked, this, [this](int range) { ClickRange(range); });
  for (QLineEdit* edit : {before_, after_})
    connect(edit, &QLineEdit::textChanged, this, [this] { ReportChange(); });
  connect(colourButton_, &QPushButton::clicked, this, [this] { ChooseColour(); });
  return group;
}

QWidget* CSetteiADlg::CreateEditorRows() {
  auto* rows = new QWidget(this);
  auto* grid = new QGridLayout(rows);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* editorLabel = new QLabel("エディタ(&E)：", rows);
  editor_ = WithId(new CMyEdit(rows), 1350);
  editorLabel->setBuddy(editor_);
  auto* browse = WithId(new QPushButton(rows), 1351);
  browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  browse->setToolTip(QtString(IDS_TIP_BROWSE_EDITOR));
  browse->setAutoDefault(false);
  auto* parametersLabel = new QLabel("エディタのパラメータ(&P)：", rows);
  parameters_ = WithId(new QLineEdit(rows), 1352);
  parametersLabel->setBuddy(parameters_);
  markerButton_ = WithId(new QPushButton(">", rows), 1102);
  markerButton_->setAutoDefault(false);
  markerButton_->setFixedWidth(browse->sizeHint().width());
  grid->addWidget(editorLabel, 0, 0, 1, 2);
  grid->addWidget(editor_, 1, 0);
  grid->addWidget(browse, 1, 1);
  grid->addWidget(parametersLabel, 2, 0, 1, 2);
  grid->addWidget(parameters_, 3, 0);
  grid->addWidget(markerButton_, 3, 1);

  markerMenu_ = new QMenu(this);
  markerMenu_->setObjectName("markerMenu");
  for (const Marker& marker : kMarkers) {
    QAction* action = markerMenu_->addAction(marker.text);
    action->setObjectName(QString("id%1").arg(marker.command));
    // Replaces the selection, or inserts at the caret; the edit's text change reports the change.
    connect(action, &QAction::triggered, this,
            [this, text = QString(marker.marker)] { parameters_->insert(text); });
  }
  connect(markerMenu_, &QMenu::aboutToHide, this, [this] { parameters_->setFocus(Qt::OtherFocusReason); });
  connect(markerButton_, &QPushButton::clicked, this, [this] { ShowMarkerMenu(); });
  connect(browse, &QPushButton::clicked, this, [this] { BrowseEditor(); });
  for (QLineEdit* edit : {static_cast<QLineEdit*>(editor_), parameters_}) {
    connect(edit, &QLineEdit::textChanged, this, [this] { ReportChange(); });
  }
  connect(editor_, &CMyEdit::Changed, this, [this] { ReportChange(); });
  return rows;
}

void CSetteiADlg::LoadValues(const SetteiValues& values) {
  loading_ = true;
  const ViewerSettings& viewer = values.viewer;
  range_ =
      viewer.ViewerRange >= VIEWER_ALL && viewer.ViewerRange <= VIEWER_HR ? viewer.ViewerRange : VIEWER_LINES;
  show_->setChecked(viewer.ViewerRangeView);
  ranges_->button(range_)->setChecked(true);
  before_->setText(QString::number(std::clamp(viewer.ViewerMae, 0, kMaxLines)));
  after_->setText(QString::number(std::clamp(viewer.ViewerAto, 0, kMaxLines)));
  colour_ = viewer.ViewerLookIro & kColourBits;
  for (size_t i = 0; i < customIro_.size(); ++i) customIro_[i] = values.settings.CustomIro[i] & kColourBits;
  editor_->setText(QtFromCp932(values.settings.EditorFile));
  parameters_->setText(QtFromCp932(values.settings.EditorParam));
  // The caret at the end of the parameters, the end in view.
  parameters_->end(false);
  ApplyEnabling();
  ShowColour();
  loading_ = false;
}

void CSetteiADlg::StoreValues(SetteiValues& values) {
  ViewerSettings& viewer = values.viewer;
  viewer.ViewerRangeView = show_->isChecked();
  viewer.ViewerRange = range_;
  viewer.ViewerMae = beforeSpin_->Value();
  viewer.ViewerAto = afterSpin_->Value();
  viewer.ViewerLookIro = colour_;
  values.settings.CustomIro = customIro_;
  values.settings.EditorFile = Cp932FromQt(editor_->text());
  values.settings.EditorParam = Cp932FromQt(parameters_->text());
}

// The range and the colour belong to a shown viewer; the line counts only to the "指定" range.
void CSetteiADlg::ApplyEnabling() {
  const bool shown = show_->isChecked();
  for (QAbstractButton* radio : ranges_->buttons()) radio->setEnabled(shown);
  colourLabel_->setEnabled(shown);
  colourButton_->setEnabled(shown);
  const bool lines = shown && range_ == VIEWER_LINES;
  for (QWidget* w :
       std::initializer_list<QWidget*>{beforeLabel_, before_, beforeSpin_, afterLabel_, after_, afterSpin_}) {
    w->setEnabled(lines);
  }
}

void CSetteiADlg::ClickRange(int range) {
  if (range != range_) ReportChange();
  range_ = range;
  ApplyEnabling();
}

// The chooser starts with the colour and the page's custom colours; only OK takes the chosen colour and
// the custom colours the user may have changed.
void CSetteiADlg::ChooseColour() {
  for (int i = 0; i < static_cast<int>(customIro_.size()); ++i) {
    QColorDialog::setCustomColor(i, QtColour(customIro_[static_cast<size_t>(i)]));
  }
  QColorDialog dialog(QtColour(colour_), this);
  if (dialog.exec() != QDialog::Accepted) return;
  colour_ = ColourValue(dialog.selectedColor().isValid() ? dialog.selectedColor() : dialog.currentColor());
  for (int i = 0; i < static_cast<int>(customIro_.size()); ++i) {
    customIro_[static_cast<size_t>(i)] = ColourValue(QColorDialog::customColor(i));
  }
  ShowColour();
  ReportChange();
}

// The swatch: the colour button's image filled entirely with the colour.
void CSetteiADlg::ShowColour() {
  QPixmap swatch(colourButton_->iconSize());
  swatch.fill(QtColour(colour_));
  {
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  }
  colourButton_->setIcon(QIcon(swatch));
}

void CSetteiADlg::BrowseEditor() {
  QFileDialog dialog(this, "エディタの参照 - Serquin");
  dialog.setFileMode(QFileDialog::ExistingFile);
  // Programs here rarely end in .exe, so all files are shown first; the .exe filter stays for those that do.
  dialog.setNameFilters({"exe(*.exe)", "全て(*)"});
  dialog.selectNameFilter("全て(*)");
  if (!editor_->text().isEmpty()) dialog.selectFile(editor_->text());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  editor_->setText(dialog.selectedFiles().first());
  ReportChange();
}

// The menu opens with its top-left corner at the button's top-right corner.
void CSetteiADlg::ShowMarkerMenu() {
  markerMenu_->popup(markerButton_->mapToGlobal(QPoint(markerButton_->width(), 0)));
}

void CSetteiADlg::ReportChange() {
  if (!loading_) emit Changed();
}
