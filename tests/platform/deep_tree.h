// Builds a folder chain whose full path is longer than the kernel takes in one call.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

// Creates `levels` nested folders, each named with 200 copies of `letter`, below `root`, one mkdirat at a
// time; returns the innermost one's descriptor (-1 when a step failed) and its full path in `path`.
inline int OpenDeepFolders(const std::string& root, int levels, char letter, std::string& path) {
  std::string name(200, letter);
  path = root;
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int i = 0; i < levels && fd >= 0; ++i) {
    int child = -1;
    if (mkdirat(fd, name.c_str(), 0755) == 0)
      child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = child;
    path += "/" + name;
  }
  return fd;
}

// As OpenDeepFolders; returns the full path of the innermost folder ("" when a step failed).
inline std::string MakeDeepFolders(const std::string& root, int levels, char letter = 'd') {
  std::string path;
  int fd = OpenDeepFolders(root, levels, letter, path);
  if (fd < 0) return std::string();
  close(fd);
  return path;
}

// As MakeDeepFolders, with a file `name` holding `content` in the innermost folder; returns the file's full
// path ("" when a step failed).
inline std::string MakeDeepFile(const std::string& root, int levels, const std::string& name,
                                const std::string& content) {
  std::string path;
  int folder = OpenDeepFolders(root, levels, 'd', path);
  if (folder < 0) return std::string();
  int fd = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  close(folder);
  if (fd < 0) return std::string();
  bool written = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  return written ? path + "/" + name : std::string();
}
