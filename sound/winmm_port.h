// The real multimedia port: MCI command strings, waveform devices and the sound player of winmm.
#pragma once

#include <memory>

#include "sound/alarm_sound.h"

std::unique_ptr<Mci> MakeWinmmPort();
