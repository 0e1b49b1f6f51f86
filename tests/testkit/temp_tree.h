// A temporary folder for tests, removed with everything below it when the object goes away.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The folder's absolute path, without a trailing "/".
  const std::string& Root() const { return root_; }
  // Root() + "/" + relative.
  std::string Path(std::string_view relative) const;
  // Creates a file (and its folders) holding `bytes`; returns its full path.
  std::string File(std::string_view relative, std::string_view bytes = "");
  // Creates a folder (and its parents); returns its full path.
  std::string Folder(std::string_view relative);
  // Sets a file's last-write time (seconds since 1970).
  void SetWritten(std::string_view relative, int64_t time);

 private:
  std::string root_;
};
