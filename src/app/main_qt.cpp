// serquin: the window. Everything but the choice of the main window lives in CSerquinApp.
#include "app/serquin_app_qt.h"
#include "app/serquin_dlg.h"

int main(int argc, char** argv) {
  CSerquinApp app(argc, argv);
  return app.Run(MakeAppWindow<CSerquinDlg>);
}
