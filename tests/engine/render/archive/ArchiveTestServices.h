#pragma once

// In-memory file system and a sound box that records what reached it, for the
// archive and resource manager tests.

#include <map>
#include <string>
#include <vector>

#include "engine/platform/File.h"
#include "engine/platform/FileSystem.h"
#include "engine/platform/SoundBox.h"

namespace mareldon {

class MemoryFileSystem : public FileSystem {
  public:
    std::map<std::string, std::vector<uint8_t>> files;
    int opens = 0;
    int closes = 0;
    std::vector<uint32_t> seeks;

    class MemoryFile : public File {
      public:
        MemoryFile(MemoryFileSystem& owner, const std::vector<uint8_t>* bytes)
            : owner_(owner), bytes_(bytes), status_(bytes ? kFileIdle : kFileNotFound) {}
        int32_t GetStatus() override { return status_; }
        void SetStatus(int32_t status) override { status_ = status; }
        uint32_t GetSize() override { return bytes_ ? uint32_t(bytes_->size()) : 0; }
        bool Read(void* buffer, uint32_t size) override {
            if (status_ < 0) {
                return false;
            }
            auto* out = static_cast<uint8_t*>(buffer);
            uint32_t have = position_ < bytes_->size() ? uint32_t(bytes_->size()) - position_ : 0;
            uint32_t n = std::min(have, size);
            std::copy(bytes_->begin() + position_, bytes_->begin() + position_ + n, out);
            std::fill(out + n, out + size, 0);
            position_ += size;
            return n == size;
        }
        bool Write(const void*, uint32_t) override { return false; }
        bool Seek(uint32_t position) override {
            owner_.seeks.push_back(position);
            position_ = position;
            return true;
        }
        uint32_t Tell() override { return position_; }

      private:
        MemoryFileSystem& owner_;
        const std::vector<uint8_t>* bytes_;
        int32_t status_;
        uint32_t position_ = 0;
    };

    bool ChangeRoot(const String&) override { return false; }
    String GetRoot() override { return String("/"); }
    RefPtr<DirectoryList> ListDirectory(const String&) override { return RefPtr<DirectoryList>(); }
    void SplitFilePath(const String&, String&, String&, String&, String&) override {}
    void FullPath(String& out, const String& path) override { out = path; }
    File* Open(const String& path, uint32_t) override {
        ++opens;
        auto found = files.find(path.Text());
        return new MemoryFile(*this, found == files.end() ? nullptr : &found->second);
    }
    void Close(File* file) override {
        ++closes;
        delete file;
    }
};

// The memory file system with writing: a write open with "create anew" empties the
// file; `refuseWrites` makes every write open fail.
class WritableFileSystem : public MemoryFileSystem {
  public:
    class WriteFile : public File {
      public:
        explicit WriteFile(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
        int32_t GetStatus() override { return kFileIdle; }
        void SetStatus(int32_t) override {}
        uint32_t GetSize() override { return uint32_t(bytes_.size()); }
        bool Read(void*, uint32_t) override { return false; }
        bool Write(const void* buffer, uint32_t size) override {
            const auto* in = static_cast<const uint8_t*>(buffer);
            bytes_.insert(bytes_.end(), in, in + size);
            return true;
        }
        bool Seek(uint32_t) override { return false; }
        uint32_t Tell() override { return uint32_t(bytes_.size()); }

      private:
        std::vector<uint8_t>& bytes_;
    };

    File* Open(const String& path, uint32_t mode) override {
        if ((mode & kFileWrite) == 0)
            return MemoryFileSystem::Open(path, mode);
        if (refuseWrites)
            return MemoryFileSystem::Open(String("no such file"), kFileRead);
        std::vector<uint8_t>& bytes = files[path.Text()];
        if (mode & kFileCreateAnew)
            bytes.clear();
        return new WriteFile(bytes);
    }

    bool refuseWrites = false;
};

class RecordingSoundBox : public SoundBox {
  public:
    struct Created {
        int32_t bits, rate, channels;
        uint32_t unused1, unused2;
        std::vector<uint8_t> samples;
    };
    std::vector<Created> created;

    RefPtr<SoundBuffer> CreateSound(int32_t bits, int32_t rate, int32_t channels, uint32_t unused1,
                                    uint32_t unused2, const RefPtr<PcmRecord>& record) override {
        created.push_back({bits, rate, channels, unused1, unused2, record->samples});
        return RefPtr<SoundBuffer>(new SoundBuffer(nullptr, int(created.size())));
    }
    void SetSoundVolume(const RefPtr<SoundBuffer>&, float) override {}
    void SetMasterVolume(float) override {}
    void SetSoundPan(const RefPtr<SoundBuffer>&, float) override {}
    void SetMasterPan(float) override {}
    void Play(const RefPtr<SoundBuffer>&, uint8_t) override {}
    void Stop(const RefPtr<SoundBuffer>&) override {}
    void Pause(const RefPtr<SoundBuffer>&) override {}
    void Resume(const RefPtr<SoundBuffer>&) override {}
    bool IsLooping(const RefPtr<SoundBuffer>&) override { return false; }
    bool IsPlaying(const RefPtr<SoundBuffer>&) override { return false; }
};

}  // namespace mareldon
