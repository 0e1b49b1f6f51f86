// Fuzz target for the byte-level helpers of the platform layer: code page 932 conversions, file type
// names, path texts and the choice of short date and time formats. Belongs in tests/fuzz/.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "platform/file_type.h"
#include "platform/local_time_formats.h"
#include "platform/paths.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Conversions(std::string_view bytes) {
  std::string cp932 = platform::Cp932FromUtf8(bytes);
  Check(cp932.size() <= bytes.size());
  if (platform::Cp932CanHold(bytes)) Check(platform::Utf8FromCp932(cp932) == bytes);
  std::string utf8 = platform::Utf8FromCp932(bytes);
  std::u16string utf16 = platform::Utf16FromCp932(bytes);
  Check(platform::Cp932FromUtf16(utf16) == platform::Cp932FromUtf8(utf8));
  // What came from the code page converts back without a "?" that was not there.
  std::string back = platform::Cp932FromUtf8(utf8);
  Check(platform::Utf8FromCp932(back) == utf8);
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) | bytes[2 * i + 1] << 8);
  }
  Check(platform::Cp932FromUtf16(units).size() <= 2 * units.size());
}

void Texts(std::string_view bytes) {
  Check(!platform::FileTypeName(bytes, false).empty());
  size_t cut = bytes.find('\0');
  std::string_view a = bytes.substr(0, cut);
  std::string_view b = cut == std::string_view::npos ? std::string_view() : bytes.substr(cut + 1);
  std::string relative = platform::RelativePath(a, b);
  Check(relative.empty() || relative[0] == '.');
  std::string_view last = platform::LastComponent(a);
  std::string_view parent = platform::ParentFolder(a);
  Check(last.size() <= a.size() && parent.size() <= a.size());
  Check(platform::JoinPath(a, b).size() <= a.size() + b.size() + 1);
  platform::detail::ShortFormats formats = platform::detail::ChooseShortFormats(a, b, a);
  Check(!formats.date.empty() && !formats.time.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Conversions(bytes);
  Texts(bytes);
  return 0;
}
