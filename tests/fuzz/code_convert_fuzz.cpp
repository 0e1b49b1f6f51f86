// Fuzzes character-code detection and every conversion over arbitrary bytes (each reads exactly the
// input's bytes, which libFuzzer hands over in an exactly sized buffer), checks the length bounds and the
// in-place forms, and checks round trips over valid Shift-JIS built from the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "matching/code_convert.h"

namespace {

using matching::CCodeConvert;
using matching::DetectedCode;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool IsLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool IsTrail(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Length of the text before its first NUL.
size_t TextLength(std::string_view in) {
  size_t nul = in.find('\0');
  return nul == std::string_view::npos ? in.size() : nul;
}

void CheckDetection(std::string_view in) {
  DetectedCode code = CCodeConvert::DetectCharCode(in.data(), in.size());
  int value = static_cast<int>(code);
  Check(value == 0 || value == 2 || value == 3 || value == 4 || value == 5 || (value >= 7 && value <= 11));
  Check((code == DetectedCode::Empty) == in.empty());
  matching::CharCodeScores scores = CCodeConvert::ScoreWindow(in.data(), in.size(), 0);
  Check(scores.highBytes + scores.evenNuls + scores.oddNuls <= in.size());
}

// The returning and the in-place form of a shrinking conversion agree and never grow the text.
template <typename Returning, typename InPlace>
void CheckShrinking(std::string_view in, Returning returning, InPlace inPlace) {
  std::string out = returning(in);
  Check(out.size() <= TextLength(in));
  std::vector<char> buffer(in.begin(), in.end());
  size_t length = inPlace(buffer.data(), buffer.size());
  Check(std::string_view(buffer.data(), length) == out);
}

void CheckConversions(std::string_view in) {
  CheckShrinking(
      in, [](std::string_view s) { return CCodeConvert::EucToSjis(s); }, CCodeConvert::EucToSjisInPlace);
  CheckShrinking(
      in, [](std::string_view s) { return CCodeConvert::JisToSjis(s); }, CCodeConvert::JisToSjisInPlace);
  CCodeConvert::Utf8ToSjis(in);
  CCodeConvert::Utf16ToSjis(in, false);
  CCodeConvert::Utf16ToSjis(in, true);
  for (int code = 0; code <= 7; ++code) CCodeConvert::ToSjis(code, in.data(), in.size());
  size_t text = TextLength(in);
  Check(CCodeConvert::SjisToEuc(in).size() <= 2 * text);
  Check(CCodeConvert::SjisToJis(in).size() <= 4 * text + 3);
  CCodeConvert::SjisToUtf8(in);
  for (int flag = 0; flag <= 3; ++flag) CCodeConvert::MakePatternForms(in, flag);
}

// Valid Shift-JIS made from the input: printable ASCII and line breaks, half-width katakana, and
// double-byte characters with the first bytes JIS X 0208 covers. `standard` gets the same text with the
// replacement table applied, which is what comes back from EUC-JP and JIS.
void BuildValidSjis(std::string_view in, std::string& sjis, std::string& standard) {
  for (size_t i = 0; i < in.size(); ++i) {
    auto c = static_cast<unsigned char>(in[i]);
    if ((c >= 0x20 && c <= 0x7E) || c == '\r' || c == '\n' || (c >= 0xA1 && c <= 0xDF)) {
      sjis += static_cast<char>(c);
      standard += static_cast<char>(c);
    } else if (IsLead(c) && c <= 0xEF && i + 1 < in.size() &&
               IsTrail(static_cast<unsigned char>(in[i + 1]))) {
      auto trail = static_cast<unsigned char>(in[++i]);
      uint16_t code = CCodeConvert::ReplacementFor(static_cast<uint16_t>(c << 8 | trail));
      sjis += static_cast<char>(c);
      sjis += static_cast<char>(trail);
      standard += static_cast<char>(code >> 8);
      standard += static_cast<char>(code & 0xFF);
    }
  }
}

void CheckRoundTrips(std::string_view in) {
  std::string sjis, standard;
  BuildValidSjis(in, sjis, standard);
  Check(CCodeConvert::EucToSjis(CCodeConvert::SjisToEuc(sjis)) == standard);
  std::string jis = CCodeConvert::SjisToJis(sjis);
  for (char c : jis) Check(static_cast<unsigned char>(c) < 0x80);
  Check(CCodeConvert::JisToSjis(jis) == standard);
  bool wide = false;
  for (char c : sjis) wide = wide || static_cast<unsigned char>(c) >= 0x80;
  if (wide) Check(CCodeConvert::DetectCharCode(jis) == DetectedCode::Jis);
  // The bare JIS pattern form is the JIS form without its opening and closing escape sequences.
  std::string bare = CCodeConvert::MakePatternForms(sjis, 2).jis;
  Check(jis.find(bare) != std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  CheckDetection(in);
  CheckConversions(in);
  CheckRoundTrips(in);
  return 0;
}
