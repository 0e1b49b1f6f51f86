// CFilterCDlg: the settings page "属性". Four three-state boxes, one per attribute: unchecked lets every
// entry pass, checked asks for the attribute, indeterminate for its absence.
#pragma once

#include <array>

#include "pages/settei_page_widget.h"

class TriStateBox;

class CFilterCDlg : public SetteiPage {
  Q_OBJECT

 public:
  explicit CFilterCDlg(QWidget* parent = nullptr);
  void LoadValues(const SetteiValues& values) override;
  void StoreValues(SetteiValues& values) override;
  QString HelpPage() const override { return "filter_c"; }

 private:
  // Read-only 1031, hidden 1132, system 1133, archive 1134.
  std::array<TriStateBox*, 4> boxes_{};
};
