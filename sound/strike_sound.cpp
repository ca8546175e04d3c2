// The sound module's part of the hours' strike: the strokes one after the other through the
// player, which takes one sound at a time.
#include "sound/alarm_sound.h"

bool F_Sound::StartStrike(const std::vector<Stroke>& strokes, int volume) {
  if (strokes.empty() || striking_ || sounding() || mci_.WaveOutDevices() == 0) return false;
  strokes_ = strokes;
  stroke_ = 0;
  striking_ = true;
  mci_.SetWaveVolume(volume < 0 || volume > 100 ? 100 : volume);
  if (!playStroke()) endStrike();
  return striking_;
}

bool F_Sound::playStroke() {
  strokeStart_ = mci_.Milliseconds();
  return mci_.Play(strokes_[stroke_].bell, kSndAsync | kSndResource);
}

void F_Sound::StrikeTick() {
  if (!striking_) return;
  const unsigned long gap = static_cast<unsigned long>(strokes_[stroke_].gapMs);
  if (mci_.Milliseconds() - strokeStart_ < gap) return;
  // The last bell has rung out by its gap: nothing is left to stop.
  if (++stroke_ == strokes_.size() || !playStroke()) endStrike();
}

void F_Sound::StopStrike() {
  if (!striking_) return;
  mci_.Play(nullptr, 0);
  endStrike();
}

void F_Sound::endStrike() {
  striking_ = false;
  strokes_.clear();
  // The level the module last gave an alarm's sound, or full: what the player had before.
  mci_.SetWaveVolume(waveLevel_ >= 0 ? waveLevel_ : 100);
}

void F_Sound::PlayTick() {
  if (striking_ || testing_ || sounding() || mci_.WaveOutDevices() == 0) return;
  mci_.Play(kTickResource, kSndAsync | kSndResource);
}
