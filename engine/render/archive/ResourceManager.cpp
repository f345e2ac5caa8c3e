#include "engine/render/archive/ResourceManager.h"

#include <algorithm>

#include "engine/core/Cp932.h"
#include "engine/core/Log.h"
#include "engine/platform/FileSystem.h"
#include "engine/platform/MessageBox.h"
#include "engine/platform/SoundBox.h"
#include "engine/render/archive/ArchiveBuilder.h"
#include "engine/render/archive/ArchiveParser.h"
#include "engine/render/archive/FileRef.h"
#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/device/GraphicsDevice.h"

namespace mareldon {

namespace {

// A dictionary entry that carries its resource's index in the list.
class IndexedName : public NamedNode {
  public:
    IndexedName(NamedNode* root, const String& name, int32_t index)
        : NamedNode(root, name.Text()), index(index) {}
    int32_t index;
};

// Index buffers of archive meshes hold 16-bit indices.
constexpr uint32_t kIndex16 = 0x2;

}  // namespace

ResourceManager::ResourceManager(const RefPtr<FileSystem>& fileSystem, const RefPtr<GraphicsDevice>& device,
                                 const RefPtr<SoundBox>& soundBox, MessageBoxPresenter* notices)
    : fileSystem_(fileSystem),
      device_(device),
      soundBox_(soundBox),
      notices_(notices),
      modelNames_(new NameDictionary()),
      spriteNames_(new NameDictionary()) {}

ResourceManager::~ResourceManager() = default;

void ResourceManager::Clear() {
    images_.clear();
    models_.clear();
    modelNames_.reset(new NameDictionary());
    sprites_.clear();
    spriteNames_.reset(new NameDictionary());
    fonts_.clear();
    groups_.clear();
    sounds_.clear();
    soundNames_.clear();
}

void ResourceManager::ReportUnreadable(const char* why) const {
    LOG_ERROR("archive", "%s: %s", fileName_.Text(), why);
    // The texts are the program's own, in cp932 like every text it shows.
    static const std::string text = Utf8ToCp932(" が読み込めません!");
    static const std::string caption = Utf8ToCp932("これは致命的！");
    ShowMessageBox(notices_, caption.c_str(), (fileName_ + text.c_str()).Text());
}

bool ResourceManager::LoadArchive(const String& fileName) {
    fileName_ = fileName;
    Clear();
    RefPtr<FileRef> file(new FileRef(fileSystem_, fileName, kFileRead));
    if (file->GetStatus() < 0) {
        ReportUnreadable("cannot be opened");
        return false;
    }
    File& in = *file->GetFile();
    const uint64_t fileSize = in.GetSize();
    uint8_t head[kArchiveHeaderSize] = {};
    ArchiveHeader header;
    std::string error;
    if (!in.Read(head, sizeof head)) {
        ReportUnreadable("cannot read the header");
        return false;
    }
    if (!ReadArchiveHeader(head, sizeof head, fileSize, header, error)) {
        ReportUnreadable(error.c_str());
        return false;
    }
    // Read into words, so the arrays of the body can keep viewing it.
    RefPtr<WordBlock> body(new WordBlock((size_t(header.bodySize) + 3) / 4));
    if (!in.Read(body->Bytes(), uint32_t(header.bodySize))) {
        ReportUnreadable("cannot read the body");
        return false;
    }
    file = RefPtr<FileRef>();

    ArchiveBuilder built;
    built.ShareBody(body);
    if (!ParseArchiveBody(body->Bytes(), size_t(header.bodySize), header, fileSize, built, error)) {
        ReportUnreadable(error.c_str());
        return false;
    }
    images_ = std::move(built.images);
    sounds_ = std::move(built.sounds);
    models_ = std::move(built.models);
    for (size_t i = 0; i < models_.size(); ++i) {
        new IndexedName(modelNames_.get(), *models_[i]->name, int32_t(i));
    }
    sprites_ = std::move(built.sprites);
    for (size_t i = 0; i < sprites_.size(); ++i) {
        new IndexedName(spriteNames_.get(), *sprites_[i]->name, int32_t(i));
    }
    soundNames_ = std::move(built.soundNames);
    fonts_ = std::move(built.fonts);
    groups_ = std::move(built.groups);
    LOG_INFO("archive", "%s: %zu models, %zu sprites, %zu fonts, %zu sounds, %zu images, %zu groups",
             fileName_.Text(), models_.size(), sprites_.size(), fonts_.size(), soundNames_.size(),
             images_.size(), groups_.size());
    return true;
}

void ResourceManager::BuildModels(GraphicsDevice& device) {
    std::vector<ModelNodeData*> pending;
    for (const RefPtr<ModelEntry>& model : models_) {
        // Depth first: a node, then its children in order.
        pending.push_back(model->root.Get());
        while (!pending.empty()) {
            ModelNodeData* node = pending.back();
            pending.pop_back();
            for (size_t i = node->children.size(); i-- > 0;) {
                pending.push_back(node->children[i].Get());
            }
            if (node->type == 2 && node->mesh) {
                for (const RefPtr<MeshPartData>& part : node->mesh->parts) {
                    BuildPart(device, *part);
                }
            }
        }
    }
}

void ResourceManager::BuildPart(GraphicsDevice& device, MeshPartData& part) {
    part.BuildLayout();
    VertexArray& vertices = *part.vertices;
    if (!vertices.buffer) {
        vertices.buffer =
            device.CreateVertexBuffer(uint32_t(vertices.wordsPerVertex) * 4, uint32_t(vertices.VertexCount()),
                                      vertices.words.data(), 0);
    }
    IndexArray& indices = *part.indices;
    if (!indices.buffer && !indices.words.empty()) {
        std::vector<uint16_t> narrow(indices.words.size());
        for (size_t i = 0; i < narrow.size(); ++i) {
            narrow[i] = uint16_t(indices.words[i]);
        }
        indices.buffer = device.CreateIndexBuffer(uint32_t(narrow.size()), narrow.data(), kIndex16);
    }
    if (!part.geometry) {
        part.geometry = device.CreateGeometryBuffer(part.kind, part.layout, vertices.buffer,
                                                    part.vertexWords[0], part.vertexWords[1], indices.buffer,
                                                    part.indexWords[0], part.indexWords[1]);
    }
}

bool ResourceManager::ReadSlot(uint64_t offset, uint32_t size, std::vector<uint8_t>& bytes) const {
    RefPtr<FileRef> file(new FileRef(fileSystem_, fileName_, kFileRead));
    if (file->GetStatus() < 0) {
        ReportUnreadable("cannot be opened");
        return false;
    }
    bytes.resize(size);
    File& in = *file->GetFile();
    if (!in.Seek(uint32_t(offset)) || !in.Read(bytes.data(), size)) {
        ReportUnreadable("cannot read a slot");
        return false;
    }
    return true;
}

template <typename Slot>
Slot* ResourceManager::FirstUse(std::vector<RefPtr<Slot>>& slots, int32_t index,
                                std::vector<uint8_t>& bytes) const {
    if (index < 0 || size_t(index) >= slots.size()) {
        return nullptr;
    }
    Slot& slot = *slots[size_t(index)];
    if (++slot.useCount != 1 || !ReadSlot(slot.fileOffset, slot.size, bytes)) {
        return nullptr;
    }
    return &slot;
}

void ResourceManager::LoadImage(int32_t index) {
    std::vector<uint8_t> bytes;
    ImageSlot* slot = FirstUse(images_, index, bytes);
    if (slot != nullptr) {
        slot->texture = RefPtr<ResourceProxy>(
            new ResourceProxy(device_, kTextureSampled, bytes.data(), uint32_t(bytes.size())));
    }
}

void ResourceManager::ReleaseImage(ImageSlot& slot) {
    // An unload without its load leaves the count at 0, so the next load reads again.
    if (slot.useCount > 0 && --slot.useCount == 0) {
        slot.texture = RefPtr<ResourceProxy>();
    }
}

RefPtr<ResourceProxy> ResourceManager::AcquireImage(int32_t index) {
    if (index < 0 || size_t(index) >= images_.size()) {
        return RefPtr<ResourceProxy>();
    }
    LoadImage(index);
    ImageSlot& slot = *images_[size_t(index)];
    RefPtr<ResourceProxy> texture = slot.texture;
    ReleaseImage(slot);
    return texture;
}

RefPtr<ResourceProxy> SpriteEntry::GetTexture(ResourceManager& manager) const {
    return manager.AcquireImage(image);
}

RefPtr<ResourceProxy> TextureRef::GetTexture(ResourceManager& manager) const {
    return manager.AcquireImage(image);
}

void ResourceManager::LoadSound(int32_t index) {
    std::vector<uint8_t> bytes;
    SoundSlot* slot = FirstUse(sounds_, index, bytes);
    if (slot == nullptr || !soundBox_) {
        return;
    }
    slot->sound = MakeSound(bytes);
}

RefPtr<SoundBuffer> ResourceManager::MakeSound(const std::vector<uint8_t>& bytes) const {
    ArchiveSoundRecord record;
    std::string error;
    if (!ParseSoundRecord(bytes.data(), bytes.size(), record, error)) {
        ReportUnreadable(error.c_str());
        return RefPtr<SoundBuffer>();
    }
    RefPtr<PcmRecord> pcm(new PcmRecord());
    pcm->byteCount = uint32_t(record.pcmSize);
    pcm->samples.assign(record.pcm, record.pcm + record.pcmSize);
    return soundBox_->CreateSound(record.params[0], record.params[1], record.params[2],
                                  uint32_t(record.params[3]), uint32_t(record.params[4]), pcm);
}

void ResourceManager::ReleaseSound(SoundSlot& slot) {
    if (slot.useCount > 0 && --slot.useCount == 0) {
        slot.sound = RefPtr<SoundBuffer>();
    }
}

RefPtr<SoundBuffer> ResourceManager::AcquireSound(int32_t index) {
    if (soundNames_.empty()) {
        return RefPtr<SoundBuffer>();
    }
    if (index < 0 || size_t(index) >= soundNames_.size()) {
        index = 0;
    }
    return AcquireSlotSound(soundNames_[size_t(index)].slot);
}

RefPtr<SoundBuffer> ResourceManager::AcquireSlotSound(int32_t slotIndex) {
    if (slotIndex < 0 || size_t(slotIndex) >= sounds_.size()) {
        return RefPtr<SoundBuffer>();
    }
    LoadSound(slotIndex);
    SoundSlot& slot = *sounds_[size_t(slotIndex)];
    RefPtr<SoundBuffer> sound = slot.sound;
    ReleaseSound(slot);
    return sound;
}

RefPtr<SoundBuffer> ResourceManager::CreateSlotSoundInstance(int32_t slotIndex) {
    std::vector<uint8_t> bytes;
    if (slotIndex < 0 || size_t(slotIndex) >= sounds_.size() || !soundBox_) {
        return RefPtr<SoundBuffer>();
    }
    const SoundSlot& slot = *sounds_[size_t(slotIndex)];
    if (!ReadSlot(slot.fileOffset, slot.size, bytes)) {
        return RefPtr<SoundBuffer>();
    }
    return MakeSound(bytes);
}

RefPtr<ModelEntry> ResourceManager::ModelAt(int32_t index) const {
    if (index < 0 || size_t(index) >= models_.size()) {
        return RefPtr<ModelEntry>();
    }
    return models_[size_t(index)];
}

RefPtr<ModelEntry> ResourceManager::FindModel(const String& name) const {
    auto* entry = static_cast<IndexedName*>(modelNames_->Find(name));
    return ModelAt(entry != nullptr && entry->index >= 0 ? entry->index : 0);
}

bool ResourceManager::HasModel(const String& name) const {
    auto* entry = static_cast<IndexedName*>(modelNames_->Find(name));
    return entry != nullptr && entry->index >= 0 && size_t(entry->index) < models_.size();
}

RefPtr<SpriteEntry> ResourceManager::SpriteAt(int32_t index) const {
    if (index < 0 || size_t(index) >= sprites_.size()) {
        return RefPtr<SpriteEntry>();
    }
    return sprites_[size_t(index)];
}

RefPtr<SpriteEntry> ResourceManager::FindSprite(const String& name) const {
    auto* entry = static_cast<IndexedName*>(spriteNames_->Find(name));
    return SpriteAt(entry != nullptr && entry->index >= 0 ? entry->index : 0);
}

int32_t ResourceManager::FindFontIndex(const String& name) const {
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (*fonts_[i].first == name) {
            return int32_t(i);
        }
    }
    return -1;
}

RefPtr<FontData> ResourceManager::FindFont(const String& name) const {
    if (fonts_.empty()) {
        return RefPtr<FontData>();
    }
    int32_t index = FindFontIndex(name);
    const FontEntry& entry = *fonts_[size_t(index < 0 ? 0 : index)].second;
    RefPtr<FontData> font(new FontData());
    font->glyphWidth = entry.glyphWidth;
    font->glyphHeight = entry.glyphHeight;
    font->offsetTable = entry.offsetTable;
    font->glyphs = entry.glyphs;
    return font;
}

const SoundName* ResourceManager::SoundAt(int32_t index) const {
    if (index < 0 || size_t(index) >= soundNames_.size()) {
        return nullptr;
    }
    return &soundNames_[size_t(index)];
}

int32_t ResourceManager::FindSoundIndex(const String& name) const {
    for (size_t i = 0; i < soundNames_.size(); ++i) {
        if (soundNames_[i].name == name) {
            return int32_t(i);
        }
    }
    return -1;
}

ResourceGroup& ResourceManager::FindGroup(const String& name) {
    for (const RefPtr<ResourceGroup>& group : groups_) {
        if (group->name == name) {
            return *group;
        }
    }
    RefPtr<ResourceGroup> group(new ResourceGroup());
    group->name = name;
    groups_.push_back(group);
    return *group;
}

void ResourceManager::LoadGroup(const String& name) {
    ResourceGroup& group = FindGroup(name);
    for (int32_t slot : group.images) {
        LoadImage(slot);
    }
    for (int32_t slot : group.sounds) {
        LoadSound(slot);
    }
}

void ResourceManager::UnloadGroup(const String& name) {
    ResourceGroup& group = FindGroup(name);
    for (int32_t slot : group.images) {
        ReleaseImage(*images_[size_t(slot)]);
    }
    for (int32_t slot : group.sounds) {
        ReleaseSound(*sounds_[size_t(slot)]);
    }
}

}  // namespace mareldon
