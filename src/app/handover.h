// The single-instance hand-over without a toolkit: what a second start sends to the running instance,
// how it travels, and how the running instance reads it back safely.
//
// The exchange, over a per-user local socket named by HandOverSocketName (the server listens with access
// for its user only):
//   1. The new start connects. When nothing answers, it is the first instance and goes on normally.
//   2. It sends one frame (EncodeHandOver) and waits for one reply byte.
//   3. The running instance decodes the frame. It replies kHandOverDeclined when its "MutexF" is off or the
//      frame is not one (DecodeHandOver gives nothing); the new start then goes on as a further instance.
//      Otherwise it restores and raises its window, applies the text as a command line when no settings
//      dialog is open and no search is running (else it ignores it), and only then replies
//      kHandOverAccepted, so the new start ends after a search it started has been posted.
//
// Frame, integers as 32-bit little-endian:
//   "SQHO"  version (1)  payload length  payload
//   payload: text, working folder, native location (each a length and its bytes), the number of native
//   arguments, then each argument as a length and its bytes. No field holds a NUL byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cmdline/apply_command_line.h"

// The single-instance lock's name, from which the socket's name is made.
inline constexpr char kSingleInstanceName[] = "Serquin133UniqueName";

// The running instance's reply to a frame.
inline constexpr char kHandOverAccepted = '1';
inline constexpr char kHandOverDeclined = '0';

// Bytes before the payload, and the largest frame a receiver reads (a command line is far smaller; the
// bound keeps a stray writer from making the window buffer without end).
inline constexpr size_t kHandOverHeaderSize = 12;
inline constexpr size_t kMaxHandOverSize = size_t{4} << 20;

// What a second start hands over.
struct HandOver {
  // The command-line text in code page 932, applied like the program's own command line: the arguments
  // rebuilt into one text, or, for a single argument that does not begin with "-", "-b" and its long path
  // (quoted like any value). Empty when that path cannot be found or code page 932 cannot spell it.
  std::string text;
  std::string workingFolder;            // native working folder of the new start
  std::string nativeLocation;           // single argument: its long native path (any name), else empty
  std::vector<std::string> nativeArgs;  // the new start's arguments as the system gave them
  bool operator==(const HandOver&) const = default;
};

// The hand-over of a start with these native arguments (program name excluded) in `workingFolder`
// (absolute; relative paths are taken against it). Relative "-b" locations are made absolute against the
// working folder, because the running instance has a working folder of its own.
HandOver BuildHandOver(const std::vector<std::string>& nativeArgs, const std::string& workingFolder);

// The frame for the hand-over; empty when it would be larger than kMaxHandOverSize, in which case the
// start goes on as a further instance.
std::string EncodeHandOver(const HandOver& handOver);

// The whole frame's size from its first kHandOverHeaderSize bytes, so a reader knows how much to wait
// for; nothing when those bytes are too few or do not begin a frame of this version within the bound.
std::optional<size_t> HandOverFrameSize(std::string_view header);

// The hand-over a frame carries; nothing for any bytes that are not exactly one well-formed frame of this
// version (wrong header or length, a field running past the end, bytes left over, a NUL in a field).
std::optional<HandOver> DecodeHandOver(std::string_view frame);

// The command line the running instance applies for a hand-over, in code page 932 and, where code page
// 932 cannot spell a location or pattern, in its native form: for a single location argument "-b" and its
// long path; otherwise the new start's arguments with relative locations made absolute against its
// working folder. An empty text (a single location that was not found) changes nothing when applied.
CommandLineText HandOverCommandLine(const HandOver& handOver);

// What the running instance does with a received frame.
enum class HandOverAction {
  kDecline,        // reply kHandOverDeclined, change nothing: the new start opens a window of its own
  kRaise,          // restore and raise the window, ignore the text, reply kHandOverAccepted
  kRaiseAndApply,  // restore and raise the window, apply the text, then reply kHandOverAccepted
};

// The running instance's decision: it takes over only when its "MutexF" is on and the frame decoded;
// it applies the text only while no settings dialog is open and no search is running.
HandOverAction DecideHandOver(bool mutexF, bool decoded, bool settingsOpen, bool searching);

// The socket's name for user `uid`: inside `runtimeDir` ($XDG_RUNTIME_DIR, private to the user) when that
// is an absolute path, else the bare name, which the toolkit places in its temporary folder.
std::string HandOverSocketName(unsigned uid, const std::string& runtimeDir);
// The same for this process: its real user id and $XDG_RUNTIME_DIR.
std::string CurrentHandOverSocketName();
