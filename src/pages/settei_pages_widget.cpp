#include "pages/settei_pages.h"

#include "pages/filter_a_dlg.h"
#include "pages/filter_b_dlg.h"
#include "pages/filter_c_dlg.h"
#include "pages/settei_a_dlg.h"
#include "pages/settei_b_dlg.h"

SetteiPage* CreateSetteiPage(int index, QWidget* parent) {
  switch (index) {
    case 0:
      return new CFilterADlg(parent);
    case 1:
      return new CFilterCDlg(parent);
    case 2:
      return new CFilterBDlg(parent);
    case 3:
      return new CSetteiADlg(parent);
    case 4:
      return new CSetteiBDlg(parent);
    default:
      return nullptr;
  }
}
