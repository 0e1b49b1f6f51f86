// The settings pages' common base has no code of its own; this file gives its signal a home.
#include "pages/settei_page_widget.h"
