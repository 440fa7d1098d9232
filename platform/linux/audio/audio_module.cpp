#include "platform/linux/audio/audio_module.h"

#include "platform/linux/audio/sound_player.h"
#include "platform/linux/audio/tone_device.h"

extern "C" {

__attribute__((visibility("default"))) tarvik::ToneDevice* tarvikCreateToneDevice() {
  return new tarvik::LinuxToneDevice;
}

__attribute__((visibility("default"))) tarvik::SoundPlayer* tarvikCreateSoundPlayer() {
  return new tarvik::LinuxSoundPlayer;
}
}
