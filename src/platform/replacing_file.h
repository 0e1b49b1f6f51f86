// A file written under a temporary name beside its target and put in the target's place only when it is
// whole, so that a failure part way (a full disk, a removed medium) never destroys the file written before.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  // Without a successful Commit the temporary file is removed and the target stays as it was.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file for `target`. A symbolic link is followed, so the file it points to is
  // replaced and the link stays; an existing file's permissions (and owner, for a privileged user) are
  // carried over. False, with Error() set, when the target exists but is not a regular file or the
  // temporary file cannot be created (a missing or unwritable folder).
  bool Open(const std::string& target);
  // Appends bytes through a buffer. False, with Error() set, once any write has failed.
  bool Write(std::string_view bytes);
  // Writes out the buffer, flushes the file to disk and renames it over the target. False, with Error()
  // set, when any step failed; the temporary file is then gone and the target unchanged.
  bool Commit();
  // The errno of the first failure, 0 while none.
  int Error() const { return error_; }

 private:
  bool Fail(int error);
  bool Drain();
  void Discard();

  int fd_ = -1;
  std::string target_;
  std::string temporary_;
  std::string buffer_;
  int error_ = 0;
};

}  // namespace platform
