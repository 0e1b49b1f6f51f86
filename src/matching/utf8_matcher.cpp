#include "matching/utf8_matcher.h"

#include <algorithm>
#include <new>

#include "matching/sboymoo.h"
#include "platform/cp932.h"

namespace matching {
namespace {

char32_t FoldChar(char32_t c, bool ignoreCase) {
  if (ignoreCase && ((c >= 'A' && c <= 'Z') || (c >= 0xFF21 && c <= 0xFF3A))) return c + 0x20;
  for (const TwinCharacter& twin : kTwinCharacters) {
    if (c == twin.jis) return twin.microsoft;
  }
  return c;
}

// The other character that folds like c, or 0 when none does. ASCII letters count as having none: the
// needle searches fold them themselves.
char32_t OtherForm(char32_t c, bool ignoreCase) {
  if (ignoreCase && c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  if (ignoreCase && c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;
  for (const TwinCharacter& twin : kTwinCharacters) {
    if (c == twin.jis) return twin.microsoft;
    if (c == twin.microsoft) return twin.jis;
  }
  return 0;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  platform::AppendUtf8(c, out);
  return out;
}

// The needles of a search string: its longest run of characters that only fold into themselves (so a
// matching text holds the same bytes), or, when that run is shorter than a three-byte character and a
// character with two forms exists, both forms of the first such character. Bytes that are no UTF-8 end a
// run: folded text may hold them inside a changed character.
std::vector<std::string> NeedlesOf(std::string_view pattern, bool ignoreCase) {
  std::string best, run;
  std::vector<std::string> forms;
  auto endRun = [&] {
    if (run.size() > best.size()) best = run;
    run.clear();
  };
  for (size_t i = 0; i < pattern.size();) {
    char32_t code = 0;
    const int length = platform::Utf8SequenceAt(pattern, i, code);
    if (length == 0) {
      endRun();
      ++i;
      continue;
    }
    if (const char32_t other = OtherForm(code, ignoreCase)) {
      endRun();
      if (forms.empty()) forms = {Utf8Of(code), Utf8Of(other)};
    } else {
      run.append(pattern.substr(i, static_cast<size_t>(length)));
    }
    i += static_cast<size_t>(length);
  }
  endRun();
  if (!forms.empty() && best.size() < 3) return forms;
  if (best.empty()) return {};
  return {best};
}

}  // namespace

void FoldUtf8(std::string_view text, bool ignoreCase, std::string& out) {
  // ¢ (2 bytes) folds to ￠ (3 bytes); anything else keeps its length.
  out.reserve(out.size() + text.size() + text.size() / 2);
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out += static_cast<char>(ignoreCase && b >= 'A' && b <= 'Z' ? b + 0x20 : b);
      ++i;
      continue;
    }
    char32_t code = 0;
    const int length = platform::Utf8SequenceAt(text, i, code);
    if (length == 0) {
      out += text[i++];
      continue;
    }
    const char32_t folded = FoldChar(code, ignoreCase);
    if (folded == code) {
      out.append(text.substr(i, static_cast<size_t>(length)));
    } else {
      platform::AppendUtf8(folded, out);
    }
    i += static_cast<size_t>(length);
  }
}

bool HasTwinCharacter(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size();) {
    char32_t code = 0;
    const int length = platform::Utf8SequenceAt(utf8, i, code);
    if (length > 1 && OtherForm(code, false) != 0) return true;
    i += length > 0 ? static_cast<size_t>(length) : 1;
  }
  return false;
}

CUtf8Matcher::CUtf8Matcher(std::string_view pattern, bool ignoreCase) : ignoreCase_(ignoreCase) {
  pattern = pattern.substr(0, pattern.find('\0'));
  try {
    FoldUtf8(pattern, ignoreCase, folded_);
    for (const std::string& needle : NeedlesOf(pattern, ignoreCase)) {
      needles_.push_back(std::make_unique<CSboymoo>(needle.c_str()));
    }
  } catch (const std::bad_alloc&) {
    throw 1;
  }
}

CUtf8Matcher::~CUtf8Matcher() = default;

bool CUtf8Matcher::Holds(std::string_view text, std::string& scratch) const {
  scratch.clear();
  FoldUtf8(text, ignoreCase_, scratch);
  return std::string_view(scratch).find(folded_) != std::string_view::npos;
}

Utf8Candidates::Utf8Candidates(const CUtf8Matcher& matcher, const char* text, size_t length)
    : matcher_(matcher), end_(text + length), next_(matcher.Needles().size(), nullptr) {}

const char* Utf8Candidates::Next(const char* from) {
  if (from >= end_) return nullptr;
  const auto& needles = matcher_.Needles();
  if (needles.empty()) return from;
  const char* best = end_;
  for (size_t k = 0; k < needles.size(); ++k) {
    // An occurrence found earlier still stands while `from` has not passed it.
    if (next_[k] == nullptr || next_[k] < from) {
      const size_t left = static_cast<size_t>(end_ - from);
      const char* hit =
          matcher_.IgnoreCase() ? needles[k]->FindNoCase(from, left) : needles[k]->Find(from, left);
      next_[k] = hit ? hit : end_;
    }
    best = std::min(best, next_[k]);
  }
  return best < end_ ? best : nullptr;
}

}  // namespace matching
