#include "app/settei_dlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/help_window_qt.h"
#include "app/qt_text_qt.h"
#include "app/settei_fields.h"
#include "matching/breg.h"
#include "pages/settei_page_widget.h"
#include "pages/settei_pages.h"
#include "resources/strings.h"

namespace {

// The help page of each tab; "cover" for anything else.
constexpr const char* kTabHelp[5] = {"filter_a", "filter_c", "filter_b", "settei_a", "settei_b"};

}  // namespace

CSetteiDlg::CSetteiDlg(const SetteiValues& values, QWidget* parent) : QDialog(parent), values_(values) {
  setObjectName("id130");
  setWindowTitle("設定 - Serquin");
  setWindowIcon(QIcon(":/serquin.png"));
  ClampPageConditions(values_.conditions, matching::IsRegexLibraryPresent());
  auto* column = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("id1090");
  column->addWidget(tabs_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  QPushButton* ok = MakeButton(1, "OK");
  QPushButton* cancel = MakeButton(2, "キャンセル");
  apply_ = MakeButton(103, "適用");
  for (QPushButton* button : {ok, cancel, apply_}) buttons->addWidget(button);
  column->addLayout(buttons);
  ok->setDefault(true);
  apply_->setEnabled(false);
  connect(ok, &QPushButton::clicked, this, &CSetteiDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CSetteiDlg::reject);
  connect(apply_, &QPushButton::clicked, this, &CSetteiDlg::Apply);
  CreatePages();
  const int tab = values_.settings.OptionTab;
  tabs_->setCurrentIndex(tab >= 0 && tab < tabs_->count() ? tab : 0);
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { tabs_->tabBar()->setFocus(); });
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, &CSetteiDlg::ShowHelp);
}

QPushButton* CSetteiDlg::MakeButton(int id, const QString& text) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(QString("id%1").arg(id));
  return button;
}

// A tab without a page stays empty; its values pass through unchanged.
void CSetteiDlg::CreatePages() {
  for (int index = 0; index < static_cast<int>(pages_.size()); ++index) {
    SetteiPage* page = CreateSetteiPage(index, tabs_);
    pages_[index] = page;
    const QString title = QtString(IDS_TAB_FIRST + index);
    if (!page) {
      tabs_->addTab(new QWidget(tabs_), title);
      continue;
    }
    page->LoadValues(values_);
    connect(page, &SetteiPage::Changed, apply_, [this] { apply_->setEnabled(true); });
    tabs_->addTab(page, title);
  }
}

int CSetteiDlg::CurrentTab() const {
  return tabs_->currentIndex();
}

void CSetteiDlg::Gather() {
  for (SetteiPage* page : pages_) {
    if (page) page->StoreValues(values_);
  }
  values_.settings.OptionTab = CurrentTab();
}

void CSetteiDlg::accept() {
  Gather();
  QDialog::accept();
}

void CSetteiDlg::Apply() {
  Gather();
  apply_->setEnabled(false);
  emit Applied(values_);
}

void CSetteiDlg::ShowHelp() {
  const int tab = CurrentTab();
  SetteiPage* page = tab >= 0 && tab < static_cast<int>(pages_.size()) ? pages_[tab] : nullptr;
  const QString name = page ? page->HelpPage() : tab >= 0 && tab < 5 ? QString(kTabHelp[tab]) : QString("cover");
  ShowHelpPage(name, this);
}
