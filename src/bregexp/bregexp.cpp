// The run-time regular-expression library: parses the m<d>...<d>k[i] pattern text and matches with
// Oniguruma, in its Shift-JIS encoding under "k" and as plain bytes otherwise. Limits on backtracking,
// the match stack, nesting depth and subexpression calls keep every call finite whatever the pattern.
#include "bregexp/bregexp.h"

#include <oniguruma.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#ifndef BREGEXP_VERSION
#define BREGEXP_VERSION "0"
#endif

namespace {

// Backtracking budget of one match attempt and of one whole search (all start positions). About ten
// million steps take a tenth of a second. Catastrophic backtracking runs away from the first start
// position it tries, so the budget of one attempt decides how long a caller waits for such a line: a
// million steps (about 10 ms) is far more than an ordinary expression needs from one start even on a line
// of a megabyte, and short enough that a search stopped meanwhile is not kept waiting. The budget of the
// whole search is larger, for the many start positions of a long line; it ends with a message within half
// a second or so. (Plain repetition scanned from every start of a very long line is not counted as
// backtracking: it stays quadratic in the line's length, as in any backtracking engine.)
constexpr unsigned long kRetryLimitInMatch = 1'000'000;
constexpr unsigned long kRetryLimitInSearch = 50'000'000;
// Entries of the backtracking stack (tens of bytes each): a loop over an alternation fits lines of
// over a million characters, and a runaway expression cannot eat the memory.
constexpr unsigned int kMatchStackLimit = 8'000'000;
// Nesting depth of the expression: compiling walks the tree recursively on the caller's thread stack.
constexpr unsigned int kParseDepthLimit = 1000;
constexpr unsigned long kSubexpCallLimit = 1'000'000;

constexpr size_t kMessageBytes = BREGEXP_MESSAGE_SIZE - 1;

// A character of code page 932 is one byte, or a lead byte followed by a byte of the trail range; a lead
// byte followed by anything else stands alone. This is the program's own rule, so the delimiter it chose
// is found where it put it.
size_t CharWidth(const char* c) {
  const auto lead = static_cast<unsigned char>(c[0]);
  const auto trail = static_cast<unsigned char>(c[1]);
  const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
  const bool isTrail = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
  return isLead && isTrail ? 2 : 1;
}

// Copies `text` into `msg` (may be null), cut at a code-page-932 character boundary to fit 79 bytes.
void SetMessage(char* msg, const char* text) {
  if (msg == nullptr) return;
  size_t n = 0;
  while (text[n] != '\0') {
    const size_t width = CharWidth(text + n);
    if (n + width > kMessageBytes) break;
    n += width;
  }
  std::memcpy(msg, text, n);
  msg[n] = '\0';
}

void SetEngineMessage(char* msg, int code, OnigErrorInfo* info) {
  OnigUChar text[ONIG_MAX_ERROR_MESSAGE_LEN] = {};
  if (info != nullptr) {
    onig_error_code_to_str(text, code, info);
  } else {
    onig_error_code_to_str(text, code);
  }
  SetMessage(msg, reinterpret_cast<const char*>(text));
}

bool engineStarted = false;  // written once, under the once_flag below

// Oniguruma's one-time set-up; its global limits apply to every record.
void InitEngineOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    OnigEncoding encodings[] = {ONIG_ENCODING_SJIS, ONIG_ENCODING_ASCII};
    onig_initialize(encodings, 2);
    onig_set_parse_depth_limit(kParseDepthLimit);
    onig_set_subexp_call_limit_in_search(kSubexpCallLimit);
    engineStarted = true;
  });
}

// The program frees this library while it goes on running, so Oniguruma's global tables are released
// with it instead of being left behind; a later load sets them up anew.
__attribute__((destructor)) void StopEngine() {
  if (engineStarted) onig_end();
}

struct ParsedPattern {
  std::string expression;
  bool sjis = false;
  bool ignoreCase = false;
};

// Splits pattern text into expression and flags. The closing delimiter is the first one that is not
// escaped by a backslash; with `charWise` a double-byte character is stepped over whole, so its second
// byte never ends the expression. Returns null, or the reason the text is not a pattern.
const char* SplitPattern(const char* p, bool charWise, ParsedPattern& out) {
  char delimiter;
  if (p[0] == 'm' && p[1] != '\0') {
    delimiter = p[1];
    p += 2;
  } else if (p[0] == '/') {
    delimiter = '/';
    p += 1;
  } else {
    return "pattern must begin with m and a delimiter";
  }
  const char* begin = p;
  while (*p != '\0' && *p != delimiter) {
    if (*p == '\\' && p[1] != '\0') p += 1;
    p += charWise ? CharWidth(p) : 1;
  }
  if (*p == '\0') return "missing closing delimiter";
  out.expression.assign(begin, p);
  out.sjis = out.ignoreCase = false;
  for (++p; *p != '\0'; ++p) {
    if (*p == 'k') {
      out.sjis = true;
    } else if (*p == 'i') {
      out.ignoreCase = true;
    } else {
      return "unknown flag after the expression";
    }
  }
  return nullptr;
}

// The text is read character-wise when it asks for Shift-JIS ("k"), byte-wise otherwise; the flags
// come after the expression, so a character-wise reading that finds no "k" is redone byte-wise.
const char* ParsePattern(const char* text, ParsedPattern& out) {
  if (SplitPattern(text, true, out) == nullptr && out.sjis) return nullptr;
  return SplitPattern(text, false, out);
}

// The library's side of a match record.
struct Compiled {
  std::string patternText;
  OnigRegex regex = nullptr;
  OnigRegion* region = nullptr;
  OnigMatchParam* param = nullptr;
  std::vector<char*> starts;
  std::vector<char*> ends;

  Compiled() = default;
  Compiled(const Compiled&) = delete;
  Compiled& operator=(const Compiled&) = delete;
  ~Compiled() {
    if (param != nullptr) onig_free_match_param(param);
    if (region != nullptr) onig_region_free(region, 1);
    if (regex != nullptr) onig_free(regex);
  }
};

// Compiles `text` into a new Compiled; null with `msg` filled on failure.
std::unique_ptr<Compiled> CompilePattern(const char* text, char* msg) {
  ParsedPattern parsed;
  if (const char* reason = ParsePattern(text, parsed)) {
    SetMessage(msg, reason);
    return nullptr;
  }
  auto compiled = std::make_unique<Compiled>();
  compiled->patternText = text;
  const auto* begin = reinterpret_cast<const OnigUChar*>(parsed.expression.data());
  OnigErrorInfo info{};
  const int result =
      onig_new(&compiled->regex, begin, begin + parsed.expression.size(),
               parsed.ignoreCase ? ONIG_OPTION_IGNORECASE : ONIG_OPTION_NONE,
               parsed.sjis ? ONIG_ENCODING_SJIS : ONIG_ENCODING_ASCII, ONIG_SYNTAX_PERL, &info);
  if (result != ONIG_NORMAL) {
    compiled->regex = nullptr;  // onig_new frees what it made on failure
    SetEngineMessage(msg, result, &info);
    return nullptr;
  }
  compiled->region = onig_region_new();
  compiled->param = onig_new_match_param();
  if (compiled->region == nullptr || compiled->param == nullptr) throw std::bad_alloc();
  onig_initialize_match_param(compiled->param);
  onig_set_retry_limit_in_match_of_match_param(compiled->param, kRetryLimitInMatch);
  onig_set_retry_limit_in_search_of_match_param(compiled->param, kRetryLimitInSearch);
  onig_set_match_stack_limit_size_of_match_param(compiled->param, kMatchStackLimit);
  const size_t groups = static_cast<size_t>(onig_number_of_captures(compiled->regex)) + 1;
  compiled->starts.assign(groups, nullptr);
  compiled->ends.assign(groups, nullptr);
  return compiled;
}

// Installs `compiled` in the record at *rx, making the record when there is none yet.
void Install(BREGEXP** rx, std::unique_ptr<Compiled> compiled) {
  if (*rx == nullptr) {
    auto record = std::make_unique<BREGEXP>();
    *rx = record.release();
  } else {
    delete static_cast<Compiled*>((*rx)->priv);
  }
  BREGEXP* record = *rx;
  record->priv = compiled.get();
  record->startp = compiled->starts.data();
  record->endp = compiled->ends.data();
  record->nparens = static_cast<int>(compiled->starts.size()) - 1;
  compiled.release();
}

// Searches with the record's expression and fills its start and end arrays.
int Search(Compiled& compiled, const char* target, const char* targetEnd, char* msg) {
  std::fill(compiled.starts.begin(), compiled.starts.end(), nullptr);
  std::fill(compiled.ends.begin(), compiled.ends.end(), nullptr);
  const auto* begin = reinterpret_cast<const OnigUChar*>(target);
  const auto* end = reinterpret_cast<const OnigUChar*>(targetEnd);
  const int result = onig_search_with_param(compiled.regex, begin, end, begin, end, compiled.region,
                                            ONIG_OPTION_NONE, compiled.param);
  if (result == ONIG_MISMATCH) return 0;
  if (result < 0) {
    SetEngineMessage(msg, result, nullptr);
    return -1;
  }
  const OnigRegion& region = *compiled.region;
  const size_t groups = std::min(compiled.starts.size(), static_cast<size_t>(region.num_regs));
  for (size_t i = 0; i < groups; ++i) {
    if (region.beg[i] == ONIG_REGION_NOTPOS) continue;
    compiled.starts[i] = const_cast<char*>(target) + region.beg[i];
    compiled.ends[i] = const_cast<char*>(target) + region.end[i];
  }
  return 1;
}

int MatchChecked(const char* pattern, const char* target, const char* targetEnd, BREGEXP** rx, char* msg) {
  if (rx == nullptr) {
    SetMessage(msg, "no match record given");
    return -1;
  }
  if (target == nullptr || targetEnd == nullptr || targetEnd < target) {
    SetMessage(msg, "invalid target range");
    return -1;
  }
  // Match positions are int offsets inside the engine.
  if (targetEnd - target > INT_MAX) {
    SetMessage(msg, "target too long");
    return -1;
  }
  Compiled* compiled = *rx != nullptr ? static_cast<Compiled*>((*rx)->priv) : nullptr;
  if (pattern == nullptr && compiled == nullptr) {
    SetMessage(msg, "no pattern given");
    return -1;
  }
  if (pattern != nullptr && (compiled == nullptr || compiled->patternText != pattern)) {
    InitEngineOnce();
    std::unique_ptr<Compiled> fresh = CompilePattern(pattern, msg);
    if (fresh == nullptr) return -1;
    compiled = fresh.get();
    Install(rx, std::move(fresh));
  }
  return Search(*compiled, target, targetEnd, msg);
}

}  // namespace

extern "C" {

int BMatch(const char* pattern, const char* target, const char* targetEnd, BREGEXP** rx, char* msg) {
  if (msg != nullptr) msg[0] = '\0';
  // No exception may cross into a C caller.
  try {
    return MatchChecked(pattern, target, targetEnd, rx, msg);
  } catch (...) {
    SetMessage(msg, "out of memory");
    return -1;
  }
}

void BRegfree(BREGEXP* rx) {
  if (rx == nullptr) return;
  delete static_cast<Compiled*>(rx->priv);
  delete rx;
}

char* BRegexpVersion(void) {
  static char text[96];
  static std::once_flag once;
  std::call_once(once, [] {
    std::snprintf(text, sizeof text, "libbregexp %s for Serquin (Oniguruma %s)", BREGEXP_VERSION,
                  onig_version());
  });
  return text;
}

}  // extern "C"
