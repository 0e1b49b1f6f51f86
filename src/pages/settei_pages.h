// The settings dialog's five pages, by tab index: 0 date/size, 1 attributes, 2 search conditions,
// 3 viewer/editor, 4 other.
#pragma once

class QWidget;
class SetteiPage;

// A new page for tab `index`, owned by `parent`; null for an index without a page.
SetteiPage* CreateSetteiPage(int index, QWidget* parent);
