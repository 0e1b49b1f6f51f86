#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

// Large enough that a million result rows cost few system calls.
constexpr size_t kBufferSize = 1 << 16;

// The file the path leads to: a symbolic link is followed, so the file it points to is the one replaced.
std::string ResolvedTarget(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  free(resolved);
  return target;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Creates a new temporary file beside `target`, with the old file's permissions and owner when there is
// one (else those a new file gets). Returns the descriptor or -1 with errno set.
int CreateTemporary(const std::string& target, const struct stat* old, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target + ".~" + std::to_string(getpid()) + "." + std::to_string(counter++);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd >= 0 && old != nullptr) {
      fchmod(fd, old->st_mode & 07777);
      // Only possible for a privileged user; otherwise the file is the writer's, as any new file is.
      if (fchown(fd, old->st_uid, old->st_gid) != 0) errno = 0;
    }
    return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

ReplacingFile::~ReplacingFile() {
  Discard();
}

bool ReplacingFile::Fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
  return false;
}

void ReplacingFile::Discard() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
    unlink(temporary_.c_str());
  }
}

bool ReplacingFile::Open(const std::string& target) {
  Discard();
  error_ = 0;
  buffer_.clear();
  target_ = ResolvedTarget(target);
  struct stat old;
  const bool haveOld = stat(target_.c_str(), &old) == 0;
  // Only a file is ever replaced: a folder or a device in its place stays.
  if (haveOld && !S_ISREG(old.st_mode)) return Fail(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
  fd_ = CreateTemporary(target_, haveOld ? &old : nullptr, temporary_);
  if (fd_ < 0) return Fail(errno);
  buffer_.reserve(kBufferSize);
  return true;
}

bool ReplacingFile::Drain() {
  if (error_ != 0 || fd_ < 0) return Fail(EBADF);
  if (!WriteAll(fd_, buffer_)) return Fail(errno);
  buffer_.clear();
  return true;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (error_ != 0 || fd_ < 0) return Fail(EBADF);
  if (buffer_.size() + bytes.size() > kBufferSize) {
    if (!Drain()) return false;
    if (bytes.size() > kBufferSize) return WriteAll(fd_, bytes) || Fail(errno);
  }
  buffer_.append(bytes);
  return true;
}

bool ReplacingFile::Commit() {
  if (error_ != 0 || fd_ < 0) {
    Discard();
    return Fail(EBADF);
  }
  bool ok = Drain() && (fsync(fd_) == 0 || Fail(errno));
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0 && ok) ok = Fail(errno);
  if (ok && rename(temporary_.c_str(), target_.c_str()) != 0) ok = Fail(errno);
  if (!ok) {
    unlink(temporary_.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder's entry; a failure here leaves the new file in place.
  int folder = open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

}  // namespace platform
