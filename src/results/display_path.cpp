#include "results/display_path.h"

#include "platform/paths.h"

std::string DisplayPathOf(std::string_view folder, std::string_view basePath) {
  return platform::RelativePath(basePath, folder);
}
