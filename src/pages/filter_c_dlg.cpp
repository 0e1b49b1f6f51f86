#include "pages/filter_c_dlg.h"

#include <QVBoxLayout>

#include "pages/control_id.h"
#include "pages/round_group_box_widget.h"
#include "pages/tri_state_box_widget.h"

CFilterCDlg::CFilterCDlg(QWidget* parent) : SetteiPage(parent) {
  auto* page = new QVBoxLayout(this);
  auto* group = WithId(new RoundGroupBox("属性", this), 1130);
  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(16, 22, 16, 12);
  column->setSpacing(8);
  struct Box {
    int id;
    const char* text;
  };
  const Box boxes[] = {{1031, "読み取り専用(&R)"},
                       {1132, "隠しファイル(&H)"},
                       {1133, "システムファイル(&S)"},
                       {1134, "アーカイブファイル(&A)"}};
  for (size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i] = WithId(new TriStateBox(QString::fromUtf8(boxes[i].text), group), boxes[i].id);
    column->addWidget(boxes_[i]);
    // clicked comes from the user only, never from LoadValues.
    connect(boxes_[i], &TriStateBox::clicked, this, &SetteiPage::Changed);
  }
  page->addWidget(group);
  page->addStretch(1);
}

void CFilterCDlg::LoadValues(const SetteiValues& values) {
  const SearchConditions& c = values.conditions;
  const int attrs[] = {c.AttrReadonly, c.AttrHidden, c.AttrSystem, c.AttrArchived};
  for (size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->SetValue(attrs[i]);
}

void CFilterCDlg::StoreValues(SetteiValues& values) {
  SearchConditions& c = values.conditions;
  int* attrs[] = {&c.AttrReadonly, &c.AttrHidden, &c.AttrSystem, &c.AttrArchived};
  for (size_t i = 0; i < boxes_.size(); ++i) *attrs[i] = boxes_[i]->Value();
}
