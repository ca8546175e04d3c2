// The real multimedia port: MCI command strings, waveform devices and the sound player of winmm.
#pragma once

#include <memory>
#include <string>

#include "sound/alarm_sound.h"

std::unique_ptr<Mci> MakeWinmmPort();

// Up to `count` bytes from the start of a file opened by its Unicode name, as the player will
// open it; false when it cannot be opened or read.
bool ReadFileStart(const std::wstring& path, std::size_t count, std::string& bytes);
