// The regular-expression adapter: loading libbregexp.so at run time, the use count that keeps it loaded,
// and CBreg's pattern text, compile and match.
#include "matching/breg.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <vector>

#include "matching/mbcs.h"
#include "platform/cp932.h"

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
}  // namespace

const char kMessageRegexNotInCodePage[] =
    "\x90\xb3\x8b\x4b\x95\x5c\x8c\xbb\x82\xc5\x82\xcd"
    " Shift_JIS "
    "\x82\xc5\x95\x5c\x82\xb9\x82\xc8\x82\xa2\x95\xb6\x8e\x9a\x82\xf0\x8c\x9f\x8d\xf5\x82\xc5\x82\xab\x82\xdc"
    "\x82\xb9\x82\xf1"
    " (a regular expression cannot search for characters Shift_JIS lacks)";

namespace {

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

// Opens the library from the program's folder (or the test folder), then, for an installed program, from
// its own library folder (bin/../lib/serquin), then by the system's search.
void* OpenLibrary(const Library& library) {
  const std::string folder = library.testFolder.empty() ? ProgramFolder() : library.testFolder;
  if (!folder.empty()) {
    for (const char* place : {"/", "/../lib/serquin/"}) {
      const std::string path = folder + place + kLibraryName;
      if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    }
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

// True for a character that case-insensitive matching may fold: ASCII letters and the full-width Latin,
// Greek and Cyrillic letters.
bool HasCase(std::string_view c) {
  const auto lead = static_cast<unsigned char>(c[0]);
  if (c.size() == 1) return (lead | 0x20) >= 'a' && (lead | 0x20) <= 'z';
  const auto trail = static_cast<unsigned char>(c[1]);
  return (lead == 0x82 && trail >= 0x60 && trail <= 0x9A) ||
         (lead == 0x83 && trail >= 0x9F && trail <= 0xD6) || (lead == 0x84 && trail >= 0x40 && trail <= 0x91);
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

// Reads the top level of an expression as a sequence: plain characters join the current run of
// required characters; anything else ends the run (a quantifier that allows zero first takes back the
// character it repeats). Groups and classes are stepped over whole. Whatever could change the meaning of
// the rest (alternation at the top, option switches, quoting, an unclear class) gives up.
class LiteralReader {
 public:
  LiteralReader(std::string_view expression, bool ignoreCase) : e_(expression), ignoreCase_(ignoreCase) {}

  // The longest run, or "" when it gave up.
  std::string Read() {
    while (i_ < e_.size()) {
      if (!Step()) return std::string();
    }
    EndRun();
    return best_;
  }

 private:
  bool Step() {
    const size_t len = CharLen(e_, i_);
    if (len == 0) return false;
    if (len == 2) return Add(2), true;
    switch (e_[i_]) {
      case '|':
      case ')':
      case ']':
      case '}':
        return false;
      case '(':
        return EndRun(), SkipGroup();
      case '[':
        return EndRun(), SkipClass();
      case '*':
      case '?':
      case '{':
        run_.resize(run_.size() - lastLen_);
        return EndRun(), SkipQuantifier();
      case '+': {
        // The repeated character stays required unless a further quantifier (after a lazy or possessive
        // mark) makes the repetition itself optional, as in "a+??" or "a+*".
        size_t next = i_ + 1;
        if (next < e_.size() && (e_[next] == '?' || e_[next] == '+')) ++next;
        if (next < e_.size() && std::strchr("*?+{", e_[next]) != nullptr) run_.resize(run_.size() - lastLen_);
        return EndRun(), SkipQuantifier();
      }
      case '\\':
        return Escape();
      case '.':
      case '^':
      case '$':
      case '\r':
      case '\n':
        return EndRun(), ++i_, true;
      default:
        return Add(1), true;
    }
  }

  void Add(size_t len) {
    const std::string_view c = e_.substr(i_, len);
    i_ += len;
    if (ignoreCase_ && HasCase(c)) return EndRun();
    run_ += c;
    lastLen_ = len;
  }

  void EndRun() {
    if (run_.size() > best_.size()) best_ = run_;
    run_.clear();
    lastLen_ = 0;
  }

  // At "*", "+", "?" or "{": steps over it and a lazy or possessive mark.
  bool SkipQuantifier() {
    if (e_[i_] == '{') {
      const size_t close = e_.find('}', i_);
      if (close == std::string_view::npos) return false;
      i_ = close;
    }
    ++i_;
    while (i_ < e_.size() && (e_[i_] == '?' || e_[i_] == '+')) ++i_;
    return true;
  }

  // At a backslash outside groups and classes.
  bool Escape() {
    const size_t len = i_ + 1 < e_.size() ? CharLen(e_, i_ + 1) : 0;
    if (len == 0) return false;
    if (len == 2) return EndRun(), i_ += 3, true;
    const char c = e_[i_ + 1];
    if (!IsAsciiAlnum(c) && c > 0x20 && c < 0x7F) return ++i_, Add(1), true;  // an escaped sign is itself
    EndRun();
    i_ += 2;
    if (c == 'Q' || c == 'C' || c == 'M') return false;
    if (c == 'c') return i_ < e_.size() && CharLen(e_, i_) == 1 && (++i_, true);
    // Names, code points and properties in brackets: \p{..} \x{..} \k<..> \g'..'
    if (i_ < e_.size() && (e_[i_] == '{' || e_[i_] == '<' || e_[i_] == '\'')) {
      const char close = e_[i_] == '{' ? '}' : e_[i_] == '<' ? '>' : '\'';
      const size_t end = e_.find(close, i_);
      if (end == std::string_view::npos) return false;
      i_ = end + 1;
    }
    // Digits and letters that may still belong to it (\x41, \12): taken as part of it, never as text.
    while (i_ < e_.size() && IsAsciiAlnum(e_[i_])) ++i_;
    return true;
  }

  // At "(": steps over the balanced group. Option switches and comments give up.
  bool SkipGroup() {
    if (i_ + 1 < e_.size() && e_[i_ + 1] == '?') {
      size_t k = i_ + 2;
      if (k >= e_.size() || e_[k] == '#') return false;
      while (k < e_.size() && (((e_[k] | 0x20) >= 'a' && (e_[k] | 0x20) <= 'z') || e_[k] == '-')) ++k;
      if (k > i_ + 2 && (k >= e_.size() || e_[k] != ':')) return false;  // (?i) and the like
    }
    int depth = 0;
    while (i_ < e_.size()) {
      const char c = e_[i_];
      if (c == '[') {
        if (!SkipClass()) return false;
        continue;
      }
      if (c == '\\') {
        if (i_ + 1 >= e_.size() || e_[i_ + 1] == 'Q' || CharLen(e_, i_ + 1) == 0) return false;
        i_ += 1 + CharLen(e_, i_ + 1);
        continue;
      }
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) return ++i_, true;
      const size_t len = CharLen(e_, i_);
      if (len == 0) return false;
      i_ += len;
    }
    return false;
  }

  // At "[": steps over the class and the classes nested in it. A "]" right after the opening (a
  // literal there in some readings) gives up.
  bool SkipClass() {
    int depth = 0;
    while (i_ < e_.size()) {
      const char c = e_[i_];
      if (c == '[') {
        ++depth;
        ++i_;
        if (i_ < e_.size() && e_[i_] == '^') ++i_;
        if (i_ >= e_.size() || e_[i_] == ']') return false;
        continue;
      }
      if (c == '\\') {
        if (i_ + 1 >= e_.size() || e_[i_ + 1] == 'Q' || CharLen(e_, i_ + 1) == 0) return false;
        i_ += 1 + CharLen(e_, i_ + 1);
        continue;
      }
      if (c == ']' && --depth == 0) return ++i_, true;
      const size_t len = CharLen(e_, i_);
      if (len == 0) return false;
      i_ += len;
    }
    return false;
  }

  std::string_view e_;
  bool ignoreCase_;
  size_t i_ = 0;
  std::string run_;
  size_t lastLen_ = 0;  // bytes of the run's last character, 0 when the run is empty
  std::string best_;
};

constexpr char32_t kSeveral = 0xFFFFFFFF;

std::string EncodeUtf8(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// For every code page 932 code (a one-byte character by its value, a double-byte one as lead * 256 +
// trail) the one code point that the UTF-8 conversion turns into it: 0 when none, kSeveral when more than
// one does. Code points beyond U+FFFF all become "?", which has several anyway.
const std::vector<char32_t>& Preimages() {
  static const std::vector<char32_t> table = [] {
    std::vector<char32_t> t(0x10000, 0);
    for (char32_t cp = 1; cp < 0x10000; ++cp) {
      if (cp >= 0xD800 && cp <= 0xDFFF) continue;
      const std::string sjis = platform::Cp932FromUtf8(EncodeUtf8(cp));
      const bool single = !sjis.empty() && CharLen(sjis, 0) == sjis.size();
      for (size_t i = 0, len; (len = CharLen(sjis, i)) != 0; i += len) {
        const auto lead = static_cast<unsigned char>(sjis[i]);
        const unsigned code = len == 1 ? lead : lead * 256u + static_cast<unsigned char>(sjis[i + 1]);
        t[code] = single && t[code] == 0 ? cp : kSeveral;
      }
    }
    return t;
  }();
  return table;
}

// The longest run of characters of the Shift-JIS literal that each come from exactly one code point,
// as UTF-8.
std::string Utf8FormOf(const std::string& sjis) {
  if (sjis.empty()) return std::string();
  const std::vector<char32_t>& preimages = Preimages();
  std::string best, run;
  for (size_t i = 0, len; (len = CharLen(sjis, i)) != 0; i += len) {
    const auto lead = static_cast<unsigned char>(sjis[i]);
    const unsigned code = len == 1 ? lead : lead * 256u + static_cast<unsigned char>(sjis[i + 1]);
    const char32_t cp = preimages[code];
    if (cp == 0 || cp == kSeveral) {
      if (run.size() > best.size()) best = run;
      run.clear();
    } else {
      run += EncodeUtf8(cp);
    }
  }
  return run.size() > best.size() ? run : best;
}

}  // namespace

RegexLiteral RequiredLiteral(std::string_view expression, bool ignoreCase) {
  RegexLiteral literal;
  literal.sjis = LiteralReader(expression, ignoreCase).Read();
  literal.utf8 = Utf8FormOf(literal.sjis);
  return literal;
}

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
  literal_ = RegexLiteral();
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
  if (result >= 0 && compiled_ != nullptr) {
    literal_ = RequiredLiteral(searchString, ignoreCase);
    return false;
  }
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
