// Folder enumeration in the file system's own order. Only the name and a cheap kind come with each entry;
// its full status (size, attributes, times) is read on demand, because a plain name search needs none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Attribute bits with the system's meanings: R no write permission for the owner, H a name beginning with
// ".", S neither a regular file nor a folder, A a regular file, D a folder.
enum : uint32_t {
  kAttrReadonly = 0x1,
  kAttrHidden = 0x2,
  kAttrSystem = 0x4,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};

struct EntryStatus {
  uint64_t size = 0;        // length in bytes (0 for a folder)
  uint32_t attributes = 0;  // kAttr* bits
  int64_t created = 0;      // birth time where the file system keeps it, else 0
  int64_t written = 0;      // last-write time
};

// Reads the status of `name` in the open folder `dirFd` (or of a path when dirFd is AT_FDCWD). A symbolic
// link is taken as what it points to; a dangling link as the link itself. False when nothing is there.
bool ReadStatus(int dirFd, const char* name, EntryStatus& status);

// The status of one path, as ReadStatus; `isFolder` and `isLink` tell what it is.
bool StatPath(const std::string& path, EntryStatus& status, bool& isFolder, bool& isLink);

// Opens a file of a path of any length for reading, without waiting (a fifo or a device never blocks the
// open) and without making it the controlling terminal. The descriptor, or -1.
int OpenForReading(const std::string& path);

class DirReader {
 public:
  DirReader() = default;
  ~DirReader();
  DirReader(const DirReader&) = delete;
  DirReader& operator=(const DirReader&) = delete;

  // Opens a folder by its path, or a subfolder by its name inside an open parent (no length limit on the
  // full path then). False when it cannot be listed (missing, no permission, not a folder).
  bool Open(const std::string& path);
  bool OpenChild(const DirReader& parent, std::string_view name);
  void Close();

  // Moves to the next entry, skipping "." and ".."; false after the last one or on a read error.
  bool Next();

  // The current entry's name (native bytes), valid until the next call of Next.
  std::string_view Name() const { return name_; }
  // True when the entry is a folder or a symbolic link to one (may read the status to find out).
  bool IsFolder();
  // True when the entry is a symbolic link (whatever it points to).
  bool IsLink() const { return isLink_; }
  // The current entry's full status (read once per entry, then cached).
  const EntryStatus& Status();
  // The open folder's descriptor, for ReadStatus and OpenChild.
  int Fd() const { return fd_; }

 private:
  void ResolveKind();

  int fd_ = -1;
  void* dir_ = nullptr;  // the DIR* of fd_
  std::string_view name_;
  unsigned char type_ = 0;  // d_type of the current entry
  bool isLink_ = false;
  bool kindKnown_ = false;
  bool isFolder_ = false;
  bool statusRead_ = false;
  EntryStatus status_;
};

}  // namespace platform
