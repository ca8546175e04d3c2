// The command line's Win32 side: the arguments as started, a verb handed to the clock that
// already runs, and help or a usage error told where the user will see it.
#pragma once

#include <string>
#include <vector>

#include "model/command_line.h"

// The arguments after the program's name.
std::vector<std::wstring> CommandArguments();

// Hands `verb` to the running clock and waits at most 5 s for its answer: an ExitCode. The
// caller has found the clock's instance mutex held; a clock between the unload and the load of
// a reload has no window for a moment, so its window is looked for within the same 5 s.
int HandVerbToRunningClock(Verb verb);

// In the language the clock would speak: its settings file's choice, else the user's.
void UseLanguageForCommandLine(const std::wstring& programDir);

// On the console the program was started from (or the file or pipe its output goes to), else
// in a message box.
void TellOnConsoleOrBox(const std::wstring& text, bool error);
