// Fuzzes the recognition of UTF-16 text without a byte-order mark over arbitrary bytes (libFuzzer hands
// them over in an exactly sized buffer, so a read past the input is caught) and checks its contract: one
// of the two UTF-16 results or nothing, nothing when a mark decides, and a verdict that depends on the
// first 4 KiB alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "matching/code_convert.h"

namespace {

using matching::CCodeConvert;
using matching::DetectedCode;

void Check(bool ok) {
  if (!ok) std::abort();
}

constexpr size_t kJudged = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  std::optional<DetectedCode> code = CCodeConvert::DetectUtf16WithoutMark(bytes, size);
  Check(!code || *code == DetectedCode::Utf16Le || *code == DetectedCode::Utf16Be);
  std::optional<DetectedCode> mark = CCodeConvert::ByteOrderMark(bytes, size);
  if (mark) {
    Check(!code);
    Check(CCodeConvert::DetectCharCode(bytes, size) == *mark);
  }
  if (size > kJudged + 1) {
    // Any longer input with the same first 4 KiB and one byte more gets the same verdict; the copy is
    // exactly sized, so the shorter judgement cannot read the bytes behind it either.
    std::vector<char> prefix(bytes, bytes + kJudged + 1);
    Check(CCodeConvert::DetectUtf16WithoutMark(prefix.data(), prefix.size()) == code);
  }
  return 0;
}
