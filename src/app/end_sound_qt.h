// Sound at the end of a search and with warnings: a sound file played asynchronously, each sound on its
// own, so that a new one never cuts off one that is still playing.
#pragma once

#include <functional>
#include <string>

// Plays the sound file `waveFile` (a code page 932 path); the default sound (QApplication::beep) when the
// name is empty or the file cannot be played (missing, unreadable, a format the sound system rejects, no
// sound device).
void PlayEndSound(const std::string& waveFile);

// Plays `waveFile` without waiting; `onFailure`, when given, runs once instead when it cannot be played
// (at once for an empty name or a missing file, later for one the sound system rejects). Without it a
// failure is silent, as the settings page's play button wants.
void PlaySoundFile(const std::string& waveFile, std::function<void()> onFailure = {});
