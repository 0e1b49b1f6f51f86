// The regular-expression adapter: loading libbregexp.so at run time, the use count that keeps it loaded,
// and CBreg's pattern text, compile and match.
#include "matching/breg.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>

#include "matching/mbcs.h"

namespace matching {
namespace {

constexpr char kLibraryName[] = "libbregexp.so";

// "正規表現ライブラリ libbregexp.so を読み込めません" (code page 932).
constexpr char kMessageCannotLoad[] =
    "\x90\xb3\x8b\x4b\x95\x5c\x8c\xbb\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8a"
    " libbregexp.so "
    "\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";
// "正規表現ライブラリ libbregexp.so に必要な関数がありません" (code page 932).
constexpr char kMessageMissingEntry[] =
    "\x90\xb3\x8b\x4b\x95\x5c\x8c\xbb\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8a"
    " libbregexp.so "
    "\x82\xc9\x95\x4b\x97\x76\x82\xc8\x8a\xd6\x90\x94\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
// The library's fallback when it gave no reason.
constexpr char kMessageError[] = "error";

struct Entries {
  BMatchProc match = nullptr;
  BRegfreeProc free = nullptr;
  BRegexpVersionProc version = nullptr;
};

enum class LoadState { kReady, kNotFound, kMissingEntry };

// The process-wide library state. Tokens are made and dropped on the window thread and the search
// worker, so every member is guarded by `lock`.
struct Library {
  std::mutex lock;
  int32_t useCount = 0;
  void* handle = nullptr;
  bool complete = false;  // all three entry points were found in `handle`
  Entries entries;
  std::string testFolder;
  bool systemSearch = true;
};

Library& TheLibrary() {
  static Library library;
  return library;
}

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.parent_path().string();
}

// Opens the library from the program's folder (or the test folder), then by the system's search.
void* OpenLibrary(const Library& library) {
  const std::string folder = library.testFolder.empty() ? ProgramFolder() : library.testFolder;
  if (!folder.empty()) {
    const std::string path = folder + "/" + kLibraryName;
    if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
  }
  return library.systemSearch ? dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL) : nullptr;
}

// Resolves the entry points in the order BMatch, BRegfree, BRegexpVersion; false at the first missing.
bool ResolveEntries(void* handle, Entries& entries) {
  entries.match = reinterpret_cast<BMatchProc>(dlsym(handle, "BMatch"));
  if (entries.match == nullptr) return false;
  entries.free = reinterpret_cast<BRegfreeProc>(dlsym(handle, "BRegfree"));
  if (entries.free == nullptr) return false;
  entries.version = reinterpret_cast<BRegexpVersionProc>(dlsym(handle, "BRegexpVersion"));
  return entries.version != nullptr;
}

LoadState LoadLocked(Library& library) {
  if (library.handle == nullptr) {
    library.handle = OpenLibrary(library);
    if (library.handle == nullptr) return LoadState::kNotFound;
    // A library without all entry points stays loaded but unused, as loading it again cannot help.
    library.complete = ResolveEntries(library.handle, library.entries);
  }
  return library.complete ? LoadState::kReady : LoadState::kMissingEntry;
}

// Loads the library if needed and hands out its entry points when all are there.
LoadState AcquireEntries(Entries& entries) {
  Library& library = TheLibrary();
  std::lock_guard<std::mutex> guard(library.lock);
  const LoadState state = LoadLocked(library);
  if (state == LoadState::kReady) entries = library.entries;
  return state;
}

void CopyMessage(char* message, const char* text) {
  std::strncpy(message, text, BREGEXP_MESSAGE_SIZE - 1);
  message[BREGEXP_MESSAGE_SIZE - 1] = '\0';
}

// True when the text's last character is a lead byte standing alone: a delimiter of the trail range
// placed after it would be read as its second byte.
bool EndsWithLoneLead(const char* s) {
  const char* last = nullptr;
  for (size_t len; (len = CharLen(s)) != 0; s += len) last = len == 1 ? s : nullptr;
  return last != nullptr && IsLeadByte(static_cast<unsigned char>(*last));
}

// The delimiter for the pattern text, or '\0' when the string holds every possible one.
char ChooseDelimiter(const char* s) {
  if (MbsChr(s, '/') == nullptr) return '/';
  const bool loneLeadAtEnd = EndsWithLoneLead(s);
  for (int c = 0x21; c <= 0xFF; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    // A lead byte would pair with the byte after it, so it could never end the expression.
    if (IsLeadByte(byte) || (loneLeadAtEnd && IsTrailByteValue(byte))) continue;
    if (MbsChr(s, static_cast<char>(byte)) == nullptr) return static_cast<char>(byte);
  }
  return '\0';
}

}  // namespace

CBreUse::CBreUse() {
  {
    Library& library = TheLibrary();
    std::lock_guard<std::mutex> guard(library.lock);
    ++library.useCount;
  }
  LoadRegexLibrary();
}

CBreUse::~CBreUse() {
  Library& library = TheLibrary();
  std::lock_guard<std::mutex> guard(library.lock);
  if (--library.useCount <= 0 && library.handle != nullptr) {
    dlclose(library.handle);
    library.handle = nullptr;
    library.complete = false;
    library.entries = Entries();
  }
}

bool LoadRegexLibrary() {
  Library& library = TheLibrary();
  std::lock_guard<std::mutex> guard(library.lock);
  return LoadLocked(library) == LoadState::kReady;
}

bool IsRegexLibraryPresent() {
  Library& library = TheLibrary();
  std::lock_guard<std::mutex> guard(library.lock);
  void* handle = OpenLibrary(library);
  if (handle == nullptr) return false;
  Entries entries;
  const bool complete = ResolveEntries(handle, entries);
  dlclose(handle);
  return complete;
}

void SetRegexLibraryFolderForTesting(const std::string& folder, bool allowSystemSearch) {
  Library& library = TheLibrary();
  std::lock_guard<std::mutex> guard(library.lock);
  library.testFolder = folder;
  library.systemSearch = allowSystemSearch;
}

std::string MakeRegexPatternText(const std::string& searchString, bool ignoreCase) {
  const char* s = searchString.c_str();
  const char delimiter = ChooseDelimiter(s);
  if (delimiter == '\0') return std::string();
  std::string text;
  text.reserve(std::strlen(s) + 10);
  text += 'm';
  text += delimiter;
  text += s;
  text += delimiter;
  text += 'k';
  if (ignoreCase) text += 'i';
  return text;
}

CBreg::~CBreg() {
  FreeCompiled();
}

void CBreg::FreeCompiled() {
  if (compiled_ != nullptr && free_ != nullptr) free_(compiled_);
  compiled_ = nullptr;
}

bool CBreg::Compile(const std::string& searchString, bool ignoreCase) {
  try {
    patternText_ = MakeRegexPatternText(searchString, ignoreCase);
  } catch (const std::bad_alloc&) {
    throw 1;
  }
  FreeCompiled();
  message_[0] = '\0';
  Entries entries;
  const LoadState state = AcquireEntries(entries);
  if (state != LoadState::kReady) {
    CopyMessage(message_, state == LoadState::kNotFound ? kMessageCannotLoad : kMessageMissingEntry);
    return true;
  }
  match_ = entries.match;
  free_ = entries.free;
  if (patternText_.empty()) {
    CopyMessage(message_, kMessageError);
    return true;
  }
  // The library compiles on its first call; a one-space target keeps that call cheap.
  char target[] = " ";
  const int result = match_(patternText_.c_str(), target, target + 1, &compiled_, message_);
  message_[BREGEXP_MESSAGE_SIZE - 1] = '\0';
  if (result >= 0 && compiled_ != nullptr) return false;
  FreeCompiled();
  if (message_[0] == '\0') CopyMessage(message_, kMessageError);
  return true;
}

int CBreg::Match(const char* begin, const char* end, const char** matchStart, const char** matchEnd) {
  if (compiled_ == nullptr || match_ == nullptr) {
    if (message_[0] == '\0') CopyMessage(message_, kMessageError);
    return -1;
  }
  message_[0] = '\0';
  const int result = match_(patternText_.c_str(), begin, end, &compiled_, message_);
  message_[BREGEXP_MESSAGE_SIZE - 1] = '\0';
  if (result < 0) {
    if (message_[0] == '\0') CopyMessage(message_, kMessageError);
    return result;
  }
  // A match counts only with a record that says where it is.
  if (result == 0 || compiled_ == nullptr || compiled_->startp == nullptr ||
      compiled_->startp[0] == nullptr || compiled_->endp == nullptr || compiled_->endp[0] == nullptr) {
    return 0;
  }
  if (matchStart != nullptr) *matchStart = compiled_->startp[0];
  if (matchEnd != nullptr) *matchEnd = compiled_->endp[0];
  return result;
}

}  // namespace matching
