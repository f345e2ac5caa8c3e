#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/core/NamedNode.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/archive/FontEntry.h"
#include "engine/render/archive/ImageSlot.h"
#include "engine/render/archive/MeshPartData.h"
#include "engine/render/archive/ModelEntry.h"
#include "engine/render/archive/ResourceGroup.h"
#include "engine/render/archive/SoundSlot.h"
#include "engine/render/archive/SpriteEntry.h"

namespace mareldon {

class FileSystem;
class GraphicsDevice;
class MessageBoxPresenter;
class SoundBox;

// Everything that comes from the data archive, handed out by name or index.
// Images and sounds are read from the archive file on first use and dropped when
// nobody holds them; groups load and release sets of them together. A missing
// model, sprite or font name gives the first entry of its list.
class ResourceManager {
  public:
    // The "cannot be read" message goes to `notices` (stderr when null).
    ResourceManager(const RefPtr<FileSystem>& fileSystem, const RefPtr<GraphicsDevice>& device,
                    const RefPtr<SoundBox>& soundBox, MessageBoxPresenter* notices = nullptr);
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Reads the archive's body and builds every list. A file that cannot be
    // opened, or is damaged, shows the "cannot be read" message and leaves every
    // list empty; the result is then false.
    bool LoadArchive(const String& fileName);
    // Makes the vertex layout and the device buffers of every mesh part.
    void BuildModels(GraphicsDevice& device);
    // Raise a slot's use count; only the step from 0 to 1 reads the archive.
    void LoadImage(int32_t slot);
    void LoadSound(int32_t slot);

    int32_t ModelCount() const { return int32_t(models_.size()); }
    // The first model when the name is missing; empty only when there are none.
    RefPtr<ModelEntry> FindModel(const String& name) const;
    // Whether the archive holds a model of that name; FindModel never reports a miss.
    bool HasModel(const String& name) const;
    RefPtr<ModelEntry> ModelAt(int32_t index) const;

    int32_t SpriteCount() const { return int32_t(sprites_.size()); }
    RefPtr<SpriteEntry> SpriteAt(int32_t index) const;
    RefPtr<SpriteEntry> FindSprite(const String& name) const;

    int32_t FontCount() const { return int32_t(fonts_.size()); }
    int32_t FindFontIndex(const String& name) const;
    // A new FontData of the named font, else of the first; empty without fonts.
    RefPtr<FontData> FindFont(const String& name) const;

    int32_t SoundCount() const { return int32_t(soundNames_.size()); }
    const SoundName* SoundAt(int32_t index) const;
    int32_t FindSoundIndex(const String& name) const;
    // The sound of a sound name (out of range: the first); shared while a group
    // holds its slot, else read anew. Empty without sounds or when the read failed.
    RefPtr<SoundBuffer> AcquireSound(int32_t index);
    // The same by sound slot (a group's entries); empty for a slot out of range.
    RefPtr<SoundBuffer> AcquireSlotSound(int32_t slot);
    // A sound of the slot that no one else holds, read from the archive even while
    // a group holds the slot, so its volume and pan are its own. Empty for a slot
    // out of range or when the read failed.
    RefPtr<SoundBuffer> CreateSlotSoundInstance(int32_t slot);

    // The texture of an image slot: shared while a group holds the slot, else read
    // anew and owned by the returned handle alone. Empty when the read failed.
    RefPtr<ResourceProxy> AcquireImage(int32_t slot);

    // The group of that name; a missing one is added, empty.
    ResourceGroup& FindGroup(const String& name);
    void LoadGroup(const String& name);
    void UnloadGroup(const String& name);
    int32_t GroupCount() const { return int32_t(groups_.size()); }

    int32_t ImageSlotCount() const { return int32_t(images_.size()); }
    int32_t SoundSlotCount() const { return int32_t(sounds_.size()); }
    const ImageSlot& ImageSlotAt(int32_t slot) const { return *images_[size_t(slot)]; }
    const SoundSlot& SoundSlotAt(int32_t slot) const { return *sounds_[size_t(slot)]; }

  protected:
    const RefPtr<FileSystem>& Files() const { return fileSystem_; }
    const RefPtr<GraphicsDevice>& Device() const { return device_; }
    const RefPtr<SoundBox>& Sounds() const { return soundBox_; }

  private:
    void Clear();
    void ReportUnreadable(const char* why) const;
    // A slot's bytes from the archive file; false (after the message) when the
    // file cannot be read.
    bool ReadSlot(uint64_t offset, uint32_t size, std::vector<uint8_t>& bytes) const;
    void BuildPart(GraphicsDevice& device, MeshPartData& part);
    // The slot when this use is its first and its bytes were read; else null.
    template <typename Slot>
    Slot* FirstUse(std::vector<RefPtr<Slot>>& slots, int32_t index, std::vector<uint8_t>& bytes) const;
    void ReleaseImage(ImageSlot& slot);
    void ReleaseSound(SoundSlot& slot);
    RefPtr<SoundBuffer> MakeSound(const std::vector<uint8_t>& bytes) const;

    RefPtr<FileSystem> fileSystem_;
    RefPtr<GraphicsDevice> device_;
    RefPtr<SoundBox> soundBox_;
    MessageBoxPresenter* notices_;
    String fileName_;

    std::vector<RefPtr<ImageSlot>> images_;
    std::vector<RefPtr<ModelEntry>> models_;
    std::unique_ptr<NameDictionary> modelNames_;
    std::vector<RefPtr<SpriteEntry>> sprites_;
    std::unique_ptr<NameDictionary> spriteNames_;
    std::vector<std::pair<RefPtr<String>, RefPtr<FontEntry>>> fonts_;
    std::vector<RefPtr<ResourceGroup>> groups_;
    std::vector<RefPtr<SoundSlot>> sounds_;
    std::vector<SoundName> soundNames_;
};

}  // namespace mareldon
