// The SDL audio device: conversion with SDL's converter, no device under the dummy driver, and
// voices that really play to their end on the dummy driver's mixing thread.
#include "platform/sdl_audio.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/sound.h"
#include "core/media_archive.h"
#include "tests/support/temp_files.h"
#include "../wav_image.h"

namespace {

TEST(SdlAudioTest, MonoEightBitSamplesAreConvertedToStereoSixteenBitAtTheDeviceRate) {
    const std::vector<uint8_t> samples(1000, 128 + 64);  // a constant half-scale level
    DeviceSamples out;
    ASSERT_TRUE(ConvertPcmWithSdl({1, 11025, 8}, samples.data(), samples.size(), {2, 22050, 16}, out));
    EXPECT_EQ(out.format.channels, 2);
    EXPECT_EQ(out.format.sampleRate, 22050);
    ASSERT_EQ(out.frameCount(), 2000u);
    const int16_t middle = out.samples[2 * 1000];
    EXPECT_NEAR(middle, 16384, 400);
    EXPECT_EQ(out.samples[2 * 1000 + 1], middle);
    // The converter must not swallow the end of the sound.
    EXPECT_NEAR(out.samples[2 * 1980], 16384, 400);
}

TEST(SdlAudioTest, SixteenBitStereoAtTheDeviceRateIsUnchanged) {
    const std::vector<uint8_t> samples = Pcm16({100, -100, 2000, -2000, 32767, -32768});
    DeviceSamples out;
    ASSERT_TRUE(ConvertPcmWithSdl({2, 22050, 16}, samples.data(), samples.size(), {2, 22050, 16}, out));
    EXPECT_EQ(out.samples, (std::vector<int16_t>{100, -100, 2000, -2000, 32767, -32768}));
}

TEST(SdlAudioTest, DummyDriverMeansNoSoundAndTheGameRunsSilently) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ScopedTempDir dir;
    const std::vector<uint8_t> image = WavImage(WavImageSpec{}, Pcm16(std::vector<int16_t>(100, 5)));
    WriteFileBytes(dir.File("Move.wav"), std::vector<unsigned char>(image.begin(), image.end()));
    CreateMediaArchiveSlots(dir.path());
    SdlSoundCreateSlots();
    SdlSoundOpen();
    EXPECT_EQ(CurrentSoundDevice(), nullptr);
    EXPECT_EQ(LoadSound(dir.File("Move.wav").c_str(), 1, 2), 0);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);
    SdlSoundShutdown();
    ReleaseMediaArchiveSlots();
}

TEST(SdlAudioTest, VoicesPlayToTheirEndOnTheMixingThread) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ScopedTempDir dir;
    // A tenth of a second of 8-bit mono at 11025 Hz.
    WavImageSpec spec;
    spec.bitsPerSample = 8;
    spec.sampleRate = 11025;
    const std::vector<uint8_t> image = WavImage(spec, std::vector<uint8_t>(1102, 200));
    WriteFileBytes(dir.File("Klic.wav"), std::vector<unsigned char>(image.begin(), image.end()));
    CreateMediaArchiveSlots(dir.path());
    CreateSoundSlots();
    SoundDevice* device = OpenSdlSoundDevice(true);
    ASSERT_NE(device, nullptr) << SDL_GetError();
    SetSoundDevice(device);
    ASSERT_EQ(LoadSound(dir.File("Klic.wav").c_str(), 26, 1), 1);
    const double channel = PlaySound(26, 0.5, 0.8);
    ASSERT_EQ(channel, 26 * 256);
    EXPECT_EQ(SoundIsPlaying(channel), 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (SoundIsPlaying(channel) == 1 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(SoundIsPlaying(channel), 0);
    EXPECT_EQ(PlaySound(26, 0, 1), channel);  // a finished voice plays again from the start
    StopAllSounds();
    EXPECT_EQ(SoundIsPlaying(channel), 0);
    DestroySoundSlots();
    CloseSdlSoundDevice();
    ReleaseMediaArchiveSlots();
}

}  // namespace
