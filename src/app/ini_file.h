// An INI profile held in memory: loaded from its file once, read and edited with the four private-profile
// operations the program relies on, and written back whole and safely.
//
// How the text is read (bytes of code page 932; any bytes are accepted, what can be read is read):
// - Lines end in CR LF, LF or CR. A UTF-8 byte-order mark at the very start is skipped.
// - A line whose first non-blank byte is "[" starts a section. Its name runs to the first "]" (to the line's
//   end when there is none); blanks around the name are ignored, text after the "]" too.
// - Any other line that holds "=" is a key line: the key is the text before the first "=", the value the
//   text after it, both without surrounding blanks (space and tab). A key line with an empty key, and a line
//   without "=", are kept in the file but never read.
// - Section and key names compare without case for ASCII letters; a double-byte character compares exactly.
// - When a section name occurs more than once, the first such section is the one read and written; within
//   it, the first of repeated keys is the one read and written. Lines before the first section belong to
//   no section.
// Writing changes only the lines it has to: every other line, unknown sections and keys included, is kept
// byte for byte. The file is written with CR LF line ends and without a byte-order mark.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class IniFile {
 public:
  // What Load found.
  enum class LoadStatus {
    kLoaded,   // the file was read
    kMissing,  // there is no file at the path: the profile is empty
    kFailed,   // the path exists but cannot be read (a folder, no permission, too large, read error)
  };

  // The largest file Load accepts; a profile is a few kilobytes, so anything near this is not one.
  static constexpr size_t kMaxFileSize = 64u << 20;

  IniFile() = default;
  // The profile whose file holds `bytes`.
  explicit IniFile(std::string_view bytes) { Parse(bytes); }

  // Replaces the content with the file at `path`. On kMissing and kFailed the content is empty and, for
  // kFailed, `error` says why.
  LoadStatus Load(const std::string& path, std::string& error);
  // Writes the whole content to `path` through a temporary file in the same folder that is flushed to disk
  // and then renamed over the old file, so the old file stays whole whatever happens. False, with `error`
  // set, when the file could not be written; the old file is then unchanged.
  bool Save(const std::string& path, std::string& error) const;
  // The file's bytes as Save writes them.
  std::string Text() const;

  // The key's value read as a decimal integer: an optional sign ("-" or "+") and the digits up to the first
  // other byte, wrapping to 32 bits like the platform's reader (so "4294967295" reads as -1); no digits
  // read as 0. The default when the key is absent or its value is empty.
  int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
  // The key's value without surrounding blanks; the default when the key is absent.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Creates or replaces the key, creating the section at the end of the file when needed. False, changing
  // nothing, when the names or the value cannot be stored so that they read back: a value holding a line
  // break; a key that is empty, holds "=" or a line break, begins with "[" or begins or ends with a blank;
  // a section name that holds "]" or a line break or begins or ends with a blank.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  // The key lines of the section (the first of that name) in file order, as (key, value) pairs; empty
  // when there is no such section. Reads a long numbered list in one pass instead of a search per key.
  std::vector<std::pair<std::string, std::string>> ReadSection(std::string_view section) const;
  // Removes every section of that name with all its lines. Repeated sections all go, so that keys of a
  // later copy never resurface once the first has been rewritten.
  void DeleteSection(std::string_view section);

 private:
  enum class LineKind { kOther, kSection, kKey };
  struct Line {
    std::string text;  // the line as it stands in the file, without its line end
    LineKind kind = LineKind::kOther;
    std::string name;   // section or key name, without surrounding blanks
    std::string value;  // a key line's value, without surrounding blanks
  };

  void Parse(std::string_view bytes);
  static Line ParseLine(std::string_view text);
  // Index of the first section line of that name, or lines_.size().
  size_t FindSection(std::string_view section) const;
  // One past the last line of the section that starts at `header`.
  size_t SectionEnd(size_t header) const;
  // Index of the first key line of that name in the section starting at `header`, or SectionEnd(header).
  size_t FindKey(size_t header, std::string_view key) const;
  // The key's value, or null when the key is absent.
  const std::string* Find(std::string_view section, std::string_view key) const;

  std::vector<Line> lines_;
};
