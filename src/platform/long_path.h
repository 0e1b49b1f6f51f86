// Reaching paths of any length. The kernel takes at most PATH_MAX bytes of path in one call, but the
// system's paths have no length limit; a longer path is reached folder by folder through the *at() calls.
#pragma once

#include <fcntl.h>

#include <cstddef>
#include <string>

namespace platform::detail {

// A path split for an *at() call: DirFd() and Name() together name the path's last entry. A path short
// enough for the kernel is passed whole with AT_FDCWD; a longer one has its folders opened one by one
// (following links, as a path lookup does), and Name() is its last component.
class PathAt {
 public:
  // `path` must be NUL-terminated at path[length] and outlive this object.
  PathAt(const char* path, size_t length);
  ~PathAt();
  PathAt(const PathAt&) = delete;
  PathAt& operator=(const PathAt&) = delete;

  // False when a folder on the way could not be opened (errno tells why).
  bool Valid() const { return valid_; }
  int DirFd() const { return fd_ >= 0 ? fd_ : AT_FDCWD; }
  const char* Name() const { return name_; }

 private:
  bool OpenFolders(const char* path, size_t end);

  int fd_ = -1;
  bool valid_ = true;
  const char* name_ = nullptr;
};

}  // namespace platform::detail
