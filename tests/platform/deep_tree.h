// Builds a folder chain whose full path is longer than the kernel takes in one call.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

// Creates `levels` nested folders, each named with 200 copies of `letter`, below `root`, one mkdirat at a
// time; returns the full path of the innermost one ("" when a step failed).
inline std::string MakeDeepFolders(const std::string& root, int levels, char letter = 'd') {
  std::string name(200, letter);
  std::string path = root;
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int i = 0; i < levels && fd >= 0; ++i) {
    int child = -1;
    if (mkdirat(fd, name.c_str(), 0755) == 0)
      child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = child;
    path += "/" + name;
  }
  if (fd < 0) return std::string();
  close(fd);
  return path;
}
