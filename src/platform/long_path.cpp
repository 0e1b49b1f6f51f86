#include "platform/long_path.h"

#include <unistd.h>
#include <climits>
#include <cstring>

#include <cerrno>

namespace platform::detail {

PathAt::PathAt(const char* path, size_t length) : name_(path) {
  if (length < PATH_MAX) return;
  size_t end = length;
  while (end > 0 && path[end - 1] == '/') --end;
  size_t start = end;
  while (start > 0 && path[start - 1] != '/') --start;
  // The last component keeps its trailing "/", which asks for a folder as it does in a whole path.
  name_ = path + start;
  valid_ = OpenFolders(path, start);
}

PathAt::~PathAt() {
  if (fd_ >= 0) close(fd_);
}

bool PathAt::OpenFolders(const char* path, size_t end) {
  if (path[0] == '/') {
    fd_ = open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return false;
  }
  char component[NAME_MAX + 1];
  for (size_t pos = 0; pos < end;) {
    size_t next = pos;
    while (next < end && path[next] != '/') ++next;
    size_t size = next - pos;
    if (size > NAME_MAX) {
      errno = ENAMETOOLONG;
      return false;
    }
    if (size > 0) {
      std::memcpy(component, path + pos, size);
      component[size] = '\0';
      int child = openat(DirFd(), component, O_PATH | O_DIRECTORY | O_CLOEXEC);
      if (child < 0) return false;
      if (fd_ >= 0) close(fd_);
      fd_ = child;
    }
    pos = next + 1;
  }
  return true;
}

}  // namespace platform::detail
