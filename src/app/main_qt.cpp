// serquin: the window. Everything it does is in the application shell and the main dialog.
#include "app/serquin_app_qt.h"
#include "app/serquin_dlg.h"

int main(int argc, char** argv) {
  CSerquinApp app(argc, argv);
  return app.Run(MakeAppWindow<CSerquinDlg>);
}
