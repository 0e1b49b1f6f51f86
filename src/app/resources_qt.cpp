#include "app/resources_qt.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterSerquinResources() {
  Q_INIT_RESOURCE(serquin);
}

void EnsureResources() {
  static const bool registered = (RegisterSerquinResources(), true);
  (void)registered;
}
