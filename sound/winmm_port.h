// The real multimedia port: MCI command strings, waveform devices and the sound player of winmm.
#pragma once

#include <memory>

#include "sound/alarm_sound.h"

std::unique_ptr<Mci> MakeWinmmPort();

// The program's own waveform volume, 0..100 % of full on both channels: what the alarms ring
// at and what a test of a volume plays at. Never the system's master volume.
void SetProgramWaveVolume(int percent);
