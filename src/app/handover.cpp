#include "app/handover.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "cmdline/apply_command_line.h"
#include "cmdline/composer.h"
#include "platform/cp932.h"
#include "platform/paths.h"

namespace {

constexpr char kMagic[] = "SQHO";
constexpr uint32_t kVersion = 1;

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// An argument that starts an option token of the rebuilt text ("-" and a letter); every other argument
// continues the token before it (CommandTextFromArgs quotes any "-" inside it).
bool StartsOption(const std::string& arg) {
  return arg.size() >= 2 && arg[0] == '-' && IsAsciiLetter(arg[1]);
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string Absolute(std::string_view path, const std::string& workingFolder) {
  if (path.empty() || path[0] == '/' || workingFolder.empty()) return std::string(path);
  return platform::JoinPath(workingFolder, path);
}

// The arguments with each "-b" location that is relative made absolute against the working folder. A
// location's value runs, as the parser reads the rebuilt text, from after "-b" over the following
// arguments that start no option, joined by blanks, without blanks at either end.
std::vector<std::string> WithAbsoluteLocations(const std::vector<std::string>& args,
                                               const std::string& workingFolder) {
  std::vector<std::string> out;
  for (size_t i = 0; i < args.size();) {
    size_t end = i + 1;
    const std::string& arg = args[i];
    if (!StartsOption(arg) || (arg[1] != 'b' && arg[1] != 'B')) {
      out.push_back(arg);
      i = end;
      continue;
    }
    std::string value = arg.substr(2);
    for (; end < args.size() && !StartsOption(args[end]); ++end) value += ' ' + args[end];
    std::string_view location = TrimSpaces(value);
    if (location.empty() || location[0] == '/' || workingFolder.empty()) {
      out.insert(out.end(), args.begin() + i, args.begin() + end);
    } else {
      out.push_back(arg.substr(0, 2) + Absolute(location, workingFolder));
    }
    i = end;
  }
  return out;
}

void PutU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutField(std::string& out, std::string_view field) {
  PutU32(out, static_cast<uint32_t>(field.size()));
  out += field;
}

uint32_t GetU32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Reads the payload's fields in order; every read fails once anything runs past the end.
class PayloadReader {
 public:
  explicit PayloadReader(std::string_view payload) : rest_(payload) {}

  bool Count(uint32_t& value) {
    if (rest_.size() < 4) return false;
    value = GetU32(rest_, 0);
    rest_.remove_prefix(4);
    return true;
  }
  bool Field(std::string& field) {
    uint32_t length = 0;
    if (!Count(length) || length > rest_.size()) return false;
    std::string_view bytes = rest_.substr(0, length);
    if (bytes.find('\0') != std::string_view::npos) return false;
    field.assign(bytes);
    rest_.remove_prefix(length);
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

bool HoldsNul(std::string_view text) {
  return text.find('\0') != std::string_view::npos;
}

}  // namespace

HandOver BuildHandOver(const std::vector<std::string>& nativeArgs, const std::string& workingFolder) {
  HandOver handOver;
  handOver.workingFolder = workingFolder;
  handOver.nativeArgs = nativeArgs;
  if (IsSingleLocationArgument(nativeArgs)) {
    std::optional<std::string> longPath = platform::ExpandLongPath(Absolute(nativeArgs[0], workingFolder));
    if (!longPath) return handOver;
    handOver.nativeLocation = *longPath;
    // A path that code page 932 cannot spell would arrive as another name, with "?" in places.
    if (platform::Cp932CanHold(*longPath))
      handOver.text = "-b" + QuoteValue(platform::Cp932FromUtf8(*longPath));
    return handOver;
  }
  std::vector<std::string> args;
  for (const std::string& arg : WithAbsoluteLocations(nativeArgs, workingFolder)) {
    args.push_back(platform::Cp932FromUtf8(arg));
  }
  handOver.text = CommandTextFromArgs(args);
  return handOver;
}

CommandLineText HandOverCommandLine(const HandOver& handOver) {
  if (!handOver.nativeLocation.empty()) {
    const std::string& path = handOver.nativeLocation;
    if (platform::Cp932CanHold(path)) return {handOver.text};
    return {"-b" + QuoteValue(platform::Cp932FromUtf8(path)), "-b" + QuoteValue(path)};
  }
  if (IsSingleLocationArgument(handOver.nativeArgs)) return {};  // the location was not found
  return CommandLineTextFromArgs(WithAbsoluteLocations(handOver.nativeArgs, handOver.workingFolder));
}

std::string EncodeHandOver(const HandOver& handOver) {
  size_t size = kHandOverHeaderSize + 16 + handOver.text.size() + handOver.workingFolder.size() +
                handOver.nativeLocation.size();
  bool nul = HoldsNul(handOver.text) || HoldsNul(handOver.workingFolder) || HoldsNul(handOver.nativeLocation);
  for (const std::string& arg : handOver.nativeArgs) {
    size += 4 + arg.size();
    nul = nul || HoldsNul(arg);
  }
  if (size > kMaxHandOverSize || nul) return std::string();
  std::string frame(kMagic, 4);
  PutU32(frame, kVersion);
  PutU32(frame, static_cast<uint32_t>(size - kHandOverHeaderSize));
  PutField(frame, handOver.text);
  PutField(frame, handOver.workingFolder);
  PutField(frame, handOver.nativeLocation);
  PutU32(frame, static_cast<uint32_t>(handOver.nativeArgs.size()));
  for (const std::string& arg : handOver.nativeArgs) PutField(frame, arg);
  return frame;
}

std::optional<size_t> HandOverFrameSize(std::string_view header) {
  if (header.size() < kHandOverHeaderSize || header.substr(0, 4) != std::string_view(kMagic, 4)) {
    return std::nullopt;
  }
  if (GetU32(header, 4) != kVersion) return std::nullopt;
  uint32_t payload = GetU32(header, 8);
  if (payload > kMaxHandOverSize - kHandOverHeaderSize) return std::nullopt;
  return kHandOverHeaderSize + payload;
}

std::optional<HandOver> DecodeHandOver(std::string_view frame) {
  std::optional<size_t> size = HandOverFrameSize(frame);
  if (!size || *size != frame.size()) return std::nullopt;
  PayloadReader reader(frame.substr(kHandOverHeaderSize));
  HandOver handOver;
  uint32_t argCount = 0;
  if (!reader.Field(handOver.text) || !reader.Field(handOver.workingFolder) ||
      !reader.Field(handOver.nativeLocation) || !reader.Count(argCount)) {
    return std::nullopt;
  }
  // Each argument takes at least its four length bytes, so the count cannot outrun the frame unnoticed.
  for (uint32_t i = 0; i < argCount; ++i) {
    std::string arg;
    if (!reader.Field(arg)) return std::nullopt;
    handOver.nativeArgs.push_back(std::move(arg));
  }
  if (!reader.AtEnd()) return std::nullopt;
  return handOver;
}

HandOverAction DecideHandOver(bool mutexF, bool decoded, bool settingsOpen, bool searching) {
  if (!mutexF || !decoded) return HandOverAction::kDecline;
  return settingsOpen || searching ? HandOverAction::kRaise : HandOverAction::kRaiseAndApply;
}

std::string HandOverSocketName(unsigned uid, const std::string& runtimeDir) {
  std::string name = std::string(kSingleInstanceName) + "-" + std::to_string(uid);
  if (runtimeDir.empty() || runtimeDir[0] != '/') return name;
  return platform::JoinPath(runtimeDir, name);
}

std::string CurrentHandOverSocketName() {
  const char* runtimeDir = getenv("XDG_RUNTIME_DIR");
  return HandOverSocketName(static_cast<unsigned>(getuid()), runtimeDir ? runtimeDir : "");
}
