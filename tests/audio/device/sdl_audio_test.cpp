// The SDL audio device: conversion with SDL's converter, no device under the dummy driver, and
// voices that really play to their end on the dummy driver's mixing thread.
#include "platform/sdl_audio.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "../wav_image.h"
#include "audio/sound.h"
#include "core/media_archive.h"
#include "tests/support/temp_files.h"

namespace {

TEST(SdlAudioTest, ConvertsMonoEightBitToTheDeviceFormatAndLeavesItsOwnFormatAlone) {
    const std::vector<uint8_t> level(1000, 128 + 64);  // a constant half-scale level
    DeviceSamples out;
    ASSERT_TRUE(ConvertPcmWithSdl({1, 11025, 8}, level.data(), level.size(), {2, 22050, 16}, out));
    EXPECT_EQ(out.format.channels, 2);
    EXPECT_EQ(out.format.sampleRate, 22050);
    ASSERT_EQ(out.frameCount(), 2000u);
    EXPECT_NEAR(out.samples[2 * 1000], 16384, 400);
    EXPECT_EQ(out.samples[2 * 1000 + 1], out.samples[2 * 1000]);
    EXPECT_NEAR(out.samples[2 * 1980], 16384, 400);  // the converter must not swallow the end

    const std::vector<int16_t> stereo = {100, -100, 2000, -2000, 32767, -32768};
    const std::vector<uint8_t> bytes = Pcm16(stereo);
    ASSERT_TRUE(ConvertPcmWithSdl({2, 22050, 16}, bytes.data(), bytes.size(), {2, 22050, 16}, out));
    EXPECT_EQ(out.samples, stereo);
}

// Under the dummy driver the game opens no device and runs silently; a device opened anyway plays
// voices to their end.
TEST(SdlSoundTest, TheDummyDriverMeansNoSoundButVoicesPlayToTheirEndOnTheMixingThread) {
    ScopedTempDir dir;
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    CreateMediaArchiveSlots(dir.path());
    // A tenth of a second of 8-bit mono at 11025 Hz.
    WriteFileBytes(dir.File("Klic.wav"), WavImage(WavLayout(1, 8, 11025), std::vector<uint8_t>(1102, 200)));
    const std::string wav = dir.File("Klic.wav");
    SdlSoundCreateSlots();
    SdlSoundOpen();
    EXPECT_EQ(CurrentSoundDevice(), nullptr);
    EXPECT_EQ(LoadSound(wav.c_str(), 1, 2), 0);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
    SdlSoundShutdown();

    CreateSoundSlots();
    SoundDevice* device = OpenSdlSoundDevice(true);
    ASSERT_NE(device, nullptr) << SDL_GetError();
    SetSoundDevice(device);
    ASSERT_EQ(LoadSound(wav.c_str(), 26, 1), 1);
    const double channel = PlaySound(26, 0.5, 0.8);
    ASSERT_EQ(channel, 26 * 256);
    EXPECT_EQ(SoundIsPlaying(channel), 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (SoundIsPlaying(channel) == 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(SoundIsPlaying(channel), 0);
    EXPECT_EQ(PlaySound(26, 0, 1), channel);  // a finished voice plays again from the start
    StopAllSounds();
    EXPECT_EQ(SoundIsPlaying(channel), 0);
    DestroySoundSlots();
    CloseSdlSoundDevice();
    ReleaseMediaArchiveSlots();
}

}  // namespace
