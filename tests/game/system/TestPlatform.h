#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/FileSystem.h"
#include "engine/platform/JvsSwitchSource.h"
#include "engine/platform/SoundBoxDX.h"
#include "engine/platform/WindowSystem.h"
#include "engine/platform/av/AvMovieDecoder.h"
#include "engine/platform/posix/DirectoryFileSystem.h"
#include "engine/platform/recording/HeadlessWindowBackend.h"
#include "engine/platform/recording/RecordingGpu.h"
#include "engine/platform/recording/RecordingSoundOutput.h"
#include "engine/platform/serial/SerialLinkFactory.h"
#include "game/screens/RegisterScreens.h"
#include "game/system/CreateGraphicsDevice.h"
#include "game/system/GameApplication.h"
#include "game/system/SceneRegistry.h"
#include "game/testmode/RegisterTestMode.h"

namespace mareldon {

// The tests' composition root, as game/main.cpp is the program's: every backend
// the game application takes, headless or recording, made here and handed down
// through the game platform. It notes what its factories made, and when each
// service went.
class TestPlatform {
  public:
    // Files are looked up in `root`; the simulated I/O board (the program's
    // own, whatever the environment says) reads its switches from `controls`.
    TestPlatform(std::string root, JvsSwitchSource* controls) : root(std::move(root)), controls(controls) {
        RegisterScreens(scenes);
        RegisterTestMode(scenes);
    }

    GamePlatform Make() {
        GamePlatform platform;
        platform.createFileSystem = [this](const String&) -> FileSystem* {
            made.push_back("files");
            return new NotedFileSystem(made, CreateFileSystem(root.c_str()));
        };
        platform.createWindowSystem = [this]() -> WindowSystem* {
            made.push_back("windows");
            auto backend = std::make_unique<HeadlessWindowBackend>();
            windows = backend.get();
            return new NotedWindowSystem(made, std::move(backend));
        };
        platform.createSoundBox = [this](Window* window) -> SoundBox* {
            made.push_back("sound");
            soundWindow = window;
            sound = new NotedSoundBox(made, window, soundOutput);
            return sound;
        };
        platform.createGraphicsDevice = [this](Window* window, int32_t windowed, uint32_t flags,
                                               int32_t width, int32_t height,
                                               int32_t rotation) -> GraphicsDevice* {
            made.push_back("device");
            deviceWindow = window;
            const int32_t args[5] = {windowed, static_cast<int32_t>(flags), width, height, rotation};
            std::copy(args, args + 5, deviceArgs);
            return CreateGraphicsDevice(&gpu, window, windowed, flags, width, height, rotation);
        };
        platform.openSerialLink = [this](const char* portName) { return OpenSerialLink(portName, controls); };
        platform.scenes = &scenes;
        platform.createMovieDecoder = CreateAvMovieDecoder;
        return platform;
    }

    const std::string root;
    JvsSwitchSource* const controls;
    RecordingGpu gpu;
    SceneRegistry scenes;
    // What the factories were asked for, in order, and what they made it with.
    std::vector<std::string> made;
    HeadlessWindowBackend* windows = nullptr;
    SoundBox* sound = nullptr;
    // The sound box's device: nothing plays until a test mixes.
    std::shared_ptr<RecordingSoundOutput> soundOutput = std::make_shared<RecordingSoundOutput>();
    Window* soundWindow = nullptr;
    Window* deviceWindow = nullptr;
    int32_t deviceArgs[5] = {};

  private:
    class NotedWindowSystem final : public WindowSystem {
      public:
        NotedWindowSystem(std::vector<std::string>& made, std::unique_ptr<HeadlessWindowBackend> backend)
            : WindowSystem(std::move(backend)), made_(made) {}
        ~NotedWindowSystem() override { made_.push_back("~windows"); }

      private:
        std::vector<std::string>& made_;
    };

    class NotedFileSystem final : public FileSystem {
      public:
        NotedFileSystem(std::vector<std::string>& made, FileSystem* inner) : made_(made), inner_(inner) {}
        ~NotedFileSystem() override { made_.push_back("~files"); }
        bool ChangeRoot(const String& path) override { return inner_->ChangeRoot(path); }
        String GetRoot() override { return inner_->GetRoot(); }
        RefPtr<DirectoryList> ListDirectory(const String& path) override {
            return inner_->ListDirectory(path);
        }
        void SplitFilePath(const String& path, String& drive, String& directory, String& name,
                           String& extension) override {
            inner_->SplitFilePath(path, drive, directory, name, extension);
        }
        void FullPath(String& out, const String& path) override { inner_->FullPath(out, path); }
        File* Open(const String& path, uint32_t mode) override { return inner_->Open(path, mode); }
        void Close(File* file) override { inner_->Close(file); }

      private:
        std::vector<std::string>& made_;
        std::unique_ptr<FileSystem> inner_;
    };

    class NotedSoundBox final : public SoundBox {
      public:
        NotedSoundBox(std::vector<std::string>& made, Window* window,
                      const std::shared_ptr<RecordingSoundOutput>& output)
            : made_(made), inner_(window, output) {}
        ~NotedSoundBox() override { made_.push_back("~sound"); }
        RefPtr<SoundBuffer> CreateSound(int32_t bits, int32_t rate, int32_t channels, uint32_t unused1,
                                        uint32_t unused2, const RefPtr<PcmRecord>& record) override {
            return inner_.CreateSound(bits, rate, channels, unused1, unused2, record);
        }
        void SetSoundVolume(const RefPtr<SoundBuffer>& sound, float volume) override {
            inner_.SetSoundVolume(sound, volume);
        }
        void SetMasterVolume(float volume) override { inner_.SetMasterVolume(volume); }
        void SetSoundPan(const RefPtr<SoundBuffer>& sound, float pan) override {
            inner_.SetSoundPan(sound, pan);
        }
        void SetMasterPan(float pan) override { inner_.SetMasterPan(pan); }
        void Play(const RefPtr<SoundBuffer>& sound, uint8_t loop) override { inner_.Play(sound, loop); }
        void Stop(const RefPtr<SoundBuffer>& sound) override { inner_.Stop(sound); }
        void Pause(const RefPtr<SoundBuffer>& sound) override { inner_.Pause(sound); }
        void Resume(const RefPtr<SoundBuffer>& sound) override { inner_.Resume(sound); }
        bool IsLooping(const RefPtr<SoundBuffer>& sound) override { return inner_.IsLooping(sound); }
        bool IsPlaying(const RefPtr<SoundBuffer>& sound) override { return inner_.IsPlaying(sound); }
        RefPtr<SoundBuffer> CreateStreamedSound(const std::shared_ptr<SoundStream>& stream) override {
            return inner_.CreateStreamedSound(stream);
        }

      private:
        std::vector<std::string>& made_;
        SoundBoxDX inner_;
    };
};

}  // namespace mareldon
