#include "app/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

#include "matching/mbcs.h"
#include "platform/replacing_file.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Names compare without case for ASCII letters only; a double-byte character is compared as it is, so a
// trail byte that happens to be a letter never folds.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(a[i]);
    if (matching::IsLeadByte(c) && i + 1 < a.size() &&
        matching::IsTrailByteValue(static_cast<unsigned char>(a[i + 1]))) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Offset of the first "]" that is a character of its own (0x5D is also a trail byte), or npos.
size_t FindCloseBracket(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ']') return i;
    if (matching::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
        matching::IsTrailByteValue(static_cast<unsigned char>(text[i + 1]))) {
      ++i;
    }
  }
  return std::string_view::npos;
}

bool StorableSection(std::string_view section) {
  // The header's "]" must end the name: a name ending in a lead byte would take it as its trail byte.
  return !HasLineBreak(section) && FindCloseBracket(std::string(section) + "]") == section.size() &&
         Trim(section) == section;
}

bool StorableKey(std::string_view key) {
  return !key.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos && key[0] != '[' &&
         Trim(key) == key;
}

std::string ErrorText(const char* what, const std::string& path, int error) {
  return std::string(what) + " " + path + ": " + strerror(error);
}

// Reads the whole file behind fd; false with errno set on a read error, or EFBIG past the size limit.
bool ReadAll(int fd, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (bytes.size() + static_cast<size_t>(n) > IniFile::kMaxFileSize) return errno = EFBIG, false;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace

IniFile::Line IniFile::ParseLine(std::string_view text) {
  Line line;
  line.text = std::string(text);
  std::string_view trimmed = Trim(text);
  if (!trimmed.empty() && trimmed[0] == '[') {
    std::string_view name = trimmed.substr(1);
    name = name.substr(0, FindCloseBracket(name));
    line.kind = LineKind::kSection;
    line.name = std::string(Trim(name));
    return line;
  }
  size_t equals = text.find('=');
  if (equals == std::string_view::npos) return line;
  std::string_view key = Trim(text.substr(0, equals));
  if (key.empty()) return line;
  line.kind = LineKind::kKey;
  line.name = std::string(key);
  // A value ends at a NUL byte, as a text read from a profile always has; the lines after it are read
  // as usual.
  std::string_view value = text.substr(equals + 1);
  value = value.substr(0, value.find('\0'));
  line.value = std::string(Trim(value));
  return line;
}

void IniFile::Parse(std::string_view bytes) {
  lines_.clear();
  // Every mark at the start goes, so that a file saved once reads the same as the file it was saved from.
  while (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    lines_.push_back(ParseLine(bytes.substr(start, end - start)));
    start = end;
    if (start < bytes.size() && bytes[start] == '\r') {
      ++start;
      if (start < bytes.size() && bytes[start] == '\n') ++start;
    } else if (start < bytes.size()) {
      ++start;  // a lone LF
    }
  }
}

IniFile::LoadStatus IniFile::Load(const std::string& path, std::string& error) {
  lines_.clear();
  // Without blocking, so that a named pipe given as the profile is refused instead of waited on.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0 && errno == ENOENT) return LoadStatus::kMissing;
  if (fd < 0) return error = ErrorText("cannot open", path, errno), LoadStatus::kFailed;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    error = "cannot read " + path + ": not a regular file";
    return LoadStatus::kFailed;
  }
  std::string bytes;
  bool ok = ReadAll(fd, bytes);
  int readError = errno;
  close(fd);
  if (!ok) return error = ErrorText("cannot read", path, readError), LoadStatus::kFailed;
  Parse(bytes);
  return LoadStatus::kLoaded;
}

std::string IniFile::Text() const {
  std::string text;
  size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + 2;
  text.reserve(size);
  for (const Line& line : lines_) {
    text += line.text;
    text += "\r\n";
  }
  return text;
}

bool IniFile::Save(const std::string& path, std::string& error) const {
  platform::ReplacingFile file;
  if (file.Open(path) && file.Write(Text()) && file.Commit()) return true;
  error = ErrorText("cannot write", path, file.Error());
  return false;
}

size_t IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::kSection && SameName(lines_[i].name, section)) return i;
  }
  return lines_.size();
}

size_t IniFile::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != LineKind::kSection) ++i;
  return i;
}

size_t IniFile::FindKey(size_t header, std::string_view key) const {
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::kKey && SameName(lines_[i].name, key)) return i;
  }
  return end;
}

const std::string* IniFile::Find(std::string_view section, std::string_view key) const {
  size_t header = FindSection(section);
  if (header == lines_.size()) return nullptr;
  size_t i = FindKey(header, key);
  if (i == SectionEnd(header)) return nullptr;
  return &lines_[i].value;
}

int IniFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
  const std::string* value = Find(section, key);
  // An empty value counts as absent, as with the platform's reader.
  if (value == nullptr || value->empty()) return defaultValue;
  size_t i = 0;
  bool negative = false;
  if ((*value)[0] == '-' || (*value)[0] == '+') negative = (*value)[i++] == '-';
  uint32_t number = 0;
  for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
    number = number * 10u + static_cast<uint32_t>((*value)[i] - '0');
  }
  if (negative) number = 0u - number;
  // Two's complement reinterpretation of the 32 bits, without relying on implementation-defined casts.
  return number <= static_cast<uint32_t>(INT_MAX) ? static_cast<int>(number) : -static_cast<int>(~number) - 1;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const std::string* value = Find(section, key);
  return value != nullptr ? *value : std::string(defaultValue);
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!StorableSection(section) || !StorableKey(key) || HasLineBreak(value)) return false;
  Line line = ParseLine(std::string(key) + "=" + std::string(value));
  size_t header = FindSection(section);
  if (header == lines_.size()) {
    // A blank line keeps the new section apart from the one before it, as people write these files.
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(Line{});
    lines_.push_back(ParseLine("[" + std::string(section) + "]"));
    lines_.push_back(std::move(line));
    return true;
  }
  size_t found = FindKey(header, key);
  size_t end = SectionEnd(header);
  if (found != end) {
    lines_[found] = std::move(line);
    return true;
  }
  // A new key goes after the section's last non-blank line, so the blank lines before the next section
  // stay where they are.
  size_t at = end;
  while (at > header + 1 && Trim(lines_[at - 1].text).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  return true;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> keys;
  const size_t header = FindSection(section);
  if (header == lines_.size()) return keys;
  const size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::kKey) keys.emplace_back(lines_[i].name, lines_[i].value);
  }
  return keys;
}

void IniFile::DeleteSection(std::string_view section) {
  for (size_t header = FindSection(section); header < lines_.size(); header = FindSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
  }
}
