// The help window: the program's Japanese help pages, built in as qrc:/help/<page>.html, in one window
// that every help request reuses.
#pragma once

#include <QString>

class QTextBrowser;
class QWidget;

// Opens the help window at `page` ("mainview", "command_line", "filter_a", ...; an unknown name opens the
// contents page "cover"), or turns the open window to it and raises it. The window belongs to `parent`'s
// window while that is open, so that it takes input even beside a modal dialog, and outlives it.
void ShowHelpPage(const QString& page, QWidget* parent);

// The browser of the help window, or null when none is open.
QTextBrowser* CurrentHelpBrowser();
