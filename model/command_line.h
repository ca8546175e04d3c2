// What the program was started to do: a verb on its command line, handed to the clock that
// already runs, and the exit code that tells a script or a scheduled task how it went.
// Portable: the parsing and the answers are decided here, the Win32 side only carries them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// StrikeOn and StrikeOff are spelled "/strike on" and "/strike off". New verbs go at the end,
// so that a verb's number on the wire never changes.
enum class Verb : std::uint8_t { Show, Hide, Settings, Stop, Snooze, Exit, Help, StrikeOn, StrikeOff };

// A script reads these; they never change meaning.
enum ExitCode : int {
  kExitDone = 0,
  kExitNothingToDo = 1,  // nothing rings to stop or snooze; already in the tray
  kExitNoClock = 2,      // no clock runs, and the verb does not start one
  kExitNoAnswer = 3,     // the running clock did not answer in time
  kExitUsage = 64,       // an unknown verb or a stray argument
};

struct ParsedCommand {
  std::optional<Verb> verb;  // none: a usage error
  std::wstring wrong;        // the argument that was not understood
};

// `args` are the arguments after the program's name. None means /show. A verb is spelled
// "/verb", "-verb" or "--verb", in any case; "/?" is /help. Only /strike takes a word, "on" or
// "off".
ParsedCommand ParseCommandLine(const std::vector<std::wstring>& args);

// Only these start a clock when none runs; the others leave with kExitNoClock.
bool VerbStartsClock(Verb verb);

// The running clock's answer to a verb before it acts on it: kExitNothingToDo for /stop and
// /snooze while nothing rings and for /hide while the clock is in the tray, else kExitDone.
int VerbAnswer(Verb verb, bool ringing, bool inTray);

// Carried between the two processes as one 32-bit number under a tag of its own, so that a
// stray message of another program is never taken for a verb.
inline constexpr std::uint32_t kVerbMessageTag = 0x54565242;  // "TVRB"
std::uint32_t VerbToWire(Verb verb);
std::optional<Verb> VerbFromWire(std::uint32_t value);
