#pragma once

#include "platform/sound.h"

// The audio output is a module of its own, so Qt Multimedia and the sound server's libraries
// are loaded with the first sound instead of at every start of the program. The program finds
// these two functions in it by name; each returns a new object the caller owns.
extern "C" {
tarvik::ToneDevice* tarvikCreateToneDevice();
tarvik::SoundPlayer* tarvikCreateSoundPlayer();
}

namespace tarvik {

// The module's file name, looked for beside the executable.
inline constexpr char kAudioModuleFile[] = "libtarvik-audio.so";
inline constexpr char kCreateToneDevice[] = "tarvikCreateToneDevice";
inline constexpr char kCreateSoundPlayer[] = "tarvikCreateSoundPlayer";

}  // namespace tarvik
