// One page of the settings dialog: it shows the values it edits when the dialog opens and gives them back
// when the dialog gathers them (OK or Apply). It says when the user changed something, which enables
// "適用".
#pragma once

#include <QString>
#include <QWidget>

#include "app/settei_values.h"

class SetteiPage : public QWidget {
  Q_OBJECT

 public:
  explicit SetteiPage(QWidget* parent = nullptr) : QWidget(parent) {}
  // Puts the page's values into its controls.
  virtual void LoadValues(const SetteiValues& values) = 0;
  // Takes the controls' values into `values` (only the fields this page edits).
  virtual void StoreValues(SetteiValues& values) = 0;
  // The help page opened by F1 while this page is shown ("filter_a", "filter_c", ...).
  virtual QString HelpPage() const = 0;

 signals:
  // The user changed a value on this page.
  void Changed();
};
