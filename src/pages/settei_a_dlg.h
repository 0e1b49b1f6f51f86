// The settings dialog's viewer and editor page ("簡易表示/エディタ"): whether the viewer shows, its
// range, the lines around a hit, the highlight colour, and the editor program with its parameters.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "pages/settei_page_widget.h"

class CMyEdit;
class CNumberSpin;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

class CSetteiADlg : public SetteiPage {
  Q_OBJECT

 public:
  explicit CSetteiADlg(QWidget* parent);

  // The viewer's five values, the sixteen custom colours, EditorFile and EditorParam. Values outside
  // their ranges are shown corrected: a range outside 0..2 as 1, lines clamped to 0..255, colours
  // to their 24 colour bits.
  void LoadValues(const SetteiValues& values) override;
  void StoreValues(SetteiValues& values) override;
  QString HelpPage() const override { return "settei_a"; }

 private:
  void CreateControls();
  QWidget* CreateViewerGroup();
  QWidget* CreateEditorRows();
  void ApplyEnabling();
  void ClickRange(int range);
  void ChooseColour();
  void ShowColour();
  void BrowseEditor();
  void ShowMarkerMenu();
  // Reports a user's change; changes made while the values are being shown are not the user's.
  void ReportChange();

  int range_ = 1;
  uint32_t colour_ = 255;                 // red in the lowest byte
  std::array<uint32_t, 16> customIro_{};  // the colour chooser's custom colours
  bool loading_ = false;

  QCheckBox* show_ = nullptr;
  QButtonGroup* ranges_ = nullptr;
  QLineEdit* before_ = nullptr;
  QLineEdit* after_ = nullptr;
  CNumberSpin* beforeSpin_ = nullptr;
  CNumberSpin* afterSpin_ = nullptr;
  QLabel* beforeLabel_ = nullptr;
  QLabel* afterLabel_ = nullptr;
  QLabel* colourLabel_ = nullptr;
  QPushButton* colourButton_ = nullptr;
  CMyEdit* editor_ = nullptr;
  QLineEdit* parameters_ = nullptr;
  QPushButton* markerButton_ = nullptr;
  QMenu* markerMenu_ = nullptr;
};
