// CSetteiDlg: the tabbed settings dialog. Its pages edit a copy of the main window's conditions and
// settings; OK and "適用" gather the pages' values and hand them back, "キャンセル" drops what was not
// applied yet.
#pragma once

#include <QDialog>
#include <array>

#include "app/settei_values.h"

class QPushButton;
class QTabWidget;
class SetteiPage;

class CSetteiDlg : public QDialog {
  Q_OBJECT

 public:
  // Opens on the tab values.settings.OptionTab, each page showing its part of `values` (the page fields
  // clamped into what the controls can hold first).
  CSetteiDlg(const SetteiValues& values, QWidget* parent);
  // The values as gathered by the last OK or Apply (before either: the values the dialog opened with).
  const SetteiValues& Values() const { return values_; }
  // The tab shown, 0..4.
  int CurrentTab() const;

 signals:
  // "適用" was pressed: the gathered values, to be applied at once.
  void Applied(const SetteiValues& values);

 public slots:
  void accept() override;

 private:
  void CreatePages();
  QPushButton* MakeButton(int id, const QString& text);
  // The pages' values into values_, in the pages' order: date/size, attributes, search conditions,
  // viewer/editor, other; then the tab shown.
  void Gather();
  void Apply();
  // F1: the help page of the tab shown.
  void ShowHelp();

  SetteiValues values_;
  QTabWidget* tabs_ = nullptr;
  std::array<SetteiPage*, 5> pages_{};  // by tab index; null where a tab has no page
  QPushButton* apply_ = nullptr;
};
