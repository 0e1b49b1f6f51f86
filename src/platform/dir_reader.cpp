#include "platform/dir_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/long_path.h"

namespace platform {
namespace {

// The fields of a status that the system uses, from statx or, on a kernel without it, fstatat.
struct RawStatus {
  mode_t mode = 0;
  uint64_t size = 0;
  int64_t created = 0;  // 0 where the file system keeps no birth time
  int64_t written = 0;
};

std::atomic<bool> statxMissing{false};

bool ReadRaw(int dirFd, const char* name, bool follow, RawStatus& raw) {
  // AT_NO_AUTOMOUNT: looking at an entry must not mount what an automount point stands for.
  int flags = AT_NO_AUTOMOUNT | (follow ? 0 : AT_SYMLINK_NOFOLLOW);
  if (!statxMissing.load(std::memory_order_relaxed)) {
    struct statx sx;
    if (statx(dirFd, name, flags, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
      raw.mode = sx.stx_mode;
      raw.size = sx.stx_size;
      raw.created = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime.tv_sec : 0;
      raw.written = sx.stx_mtime.tv_sec;
      return true;
    }
    if (errno != ENOSYS) return false;
    statxMissing.store(true, std::memory_order_relaxed);
  }
  struct stat st;
  if (fstatat(dirFd, name, &st, flags) != 0) return false;
  raw.mode = st.st_mode;
  raw.size = static_cast<uint64_t>(st.st_size);
  raw.created = 0;
  raw.written = st.st_mtim.tv_sec;
  return true;
}

// The status of what an entry points to; for a dangling link (or a loop of links), the link itself.
bool ReadFollowing(int dirFd, const char* name, RawStatus& raw) {
  if (ReadRaw(dirFd, name, true, raw)) return true;
  return (errno == ENOENT || errno == ELOOP) && ReadRaw(dirFd, name, false, raw);
}

// A name beginning with "." is hidden; for a path, its last component's name counts.
bool IsHiddenName(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

void Fill(const RawStatus& raw, bool hidden, EntryStatus& status) {
  uint32_t attributes = hidden ? uint32_t{kAttrHidden} : 0u;
  if ((raw.mode & S_IWUSR) == 0) attributes |= kAttrReadonly;
  if (S_ISDIR(raw.mode)) {
    attributes |= kAttrDirectory;
  } else if (S_ISREG(raw.mode)) {
    attributes |= kAttrArchive;
  } else {
    attributes |= kAttrSystem;
  }
  status.attributes = attributes;
  // Only a regular file has a length of content; a folder, device, pipe or dangling link counts 0.
  status.size = S_ISREG(raw.mode) ? raw.size : 0;
  status.created = raw.created;
  status.written = raw.written;
}

}  // namespace

bool ReadStatus(int dirFd, const char* name, EntryStatus& status) {
  status = EntryStatus();
  RawStatus raw;
  if (dirFd == AT_FDCWD) {
    detail::PathAt at(name, std::strlen(name));
    if (!at.Valid() || !ReadFollowing(at.DirFd(), at.Name(), raw)) return false;
  } else if (!ReadFollowing(dirFd, name, raw)) {
    return false;
  }
  Fill(raw, IsHiddenName(name), status);
  return true;
}

bool StatPath(const std::string& path, EntryStatus& status, bool& isFolder, bool& isLink) {
  status = EntryStatus();
  isFolder = isLink = false;
  detail::PathAt at(path.c_str(), path.size());
  RawStatus raw;
  if (!at.Valid() || !ReadRaw(at.DirFd(), at.Name(), false, raw)) return false;
  if (S_ISLNK(raw.mode)) {
    isLink = true;
    RawStatus target;
    if (ReadRaw(at.DirFd(), at.Name(), true, target)) raw = target;
  }
  isFolder = S_ISDIR(raw.mode);
  Fill(raw, IsHiddenName(path), status);
  return true;
}

int OpenForReading(const std::string& path) {
  // A path too long for one call is opened folder by folder, as the walk reached it.
  detail::PathAt at(path.c_str(), path.size());
  if (!at.Valid()) return -1;
  return openat(at.DirFd(), at.Name(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

DirReader::~DirReader() {
  Close();
}

bool DirReader::Open(const std::string& path) {
  int fd = -1;
  {
    detail::PathAt at(path.c_str(), path.size());
    if (at.Valid()) fd = openat(at.DirFd(), at.Name(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  Close();
  if (fd < 0) return false;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return false;
  }
  fd_ = fd;
  dir_ = dir;
  return true;
}

bool DirReader::OpenChild(const DirReader& parent, std::string_view name) {
  int fd = -1;
  // One entry's name: never empty, never a path. It is copied because a view need not end in a NUL.
  char buffer[NAME_MAX + 1];
  if (parent.fd_ >= 0 && !name.empty() && name.size() <= NAME_MAX &&
      name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos) {
    std::memcpy(buffer, name.data(), name.size());
    buffer[name.size()] = '\0';
    // O_NOFOLLOW: a folder reached through a link is never entered, so the walk cannot run in a circle.
    fd = openat(parent.fd_, buffer, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  }
  Close();
  if (fd < 0) return false;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return false;
  }
  fd_ = fd;
  dir_ = dir;
  return true;
}

void DirReader::Close() {
  if (dir_ != nullptr) {
    closedir(static_cast<DIR*>(dir_));  // closes fd_ too
  } else if (fd_ >= 0) {
    close(fd_);
  }
  dir_ = nullptr;
  fd_ = -1;
  name_ = std::string_view();
  type_ = 0;
  isLink_ = kindKnown_ = isFolder_ = statusRead_ = false;
}

bool DirReader::Next() {
  if (dir_ == nullptr) return false;
  for (;;) {
    const struct dirent* entry = readdir(static_cast<DIR*>(dir_));
    if (entry == nullptr) {
      name_ = std::string_view();
      return false;
    }
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    name_ = std::string_view(name);  // d_name is NUL-terminated, so name_.data() serves the *at() calls
    type_ = entry->d_type;
    isLink_ = type_ == DT_LNK;
    isFolder_ = type_ == DT_DIR;
    kindKnown_ = type_ != DT_LNK && type_ != DT_UNKNOWN;
    statusRead_ = false;
    // A file system that leaves the kind unknown needs a status now, so that IsLink() tells the truth.
    if (type_ == DT_UNKNOWN) ResolveKind();
    return true;
  }
}

bool DirReader::IsFolder() {
  if (!kindKnown_) ResolveKind();
  return isFolder_;
}

void DirReader::ResolveKind() {
  kindKnown_ = true;
  isFolder_ = false;
  RawStatus raw;
  if (!isLink_) {
    if (!ReadRaw(fd_, name_.data(), false, raw)) return;
    isLink_ = S_ISLNK(raw.mode);
  }
  // A link is what it points to; a dangling one is no folder, and its own status is read on demand.
  if (isLink_ && !ReadRaw(fd_, name_.data(), true, raw)) return;
  isFolder_ = S_ISDIR(raw.mode);
  Fill(raw, IsHiddenName(name_), status_);
  statusRead_ = true;
}

const EntryStatus& DirReader::Status() {
  if (statusRead_) return status_;
  statusRead_ = true;
  status_ = EntryStatus();
  RawStatus raw;
  bool hidden = IsHiddenName(name_);
  if (fd_ >= 0 && !name_.empty() && ReadFollowing(fd_, name_.data(), raw)) {
    Fill(raw, hidden, status_);
  } else {
    status_.attributes = hidden ? uint32_t{kAttrHidden} : 0u;  // an entry that vanished or cannot be read
  }
  return status_;
}

}  // namespace platform
