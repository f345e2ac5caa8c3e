#include "game/render/LightFile.h"

#include <vector>

#include "engine/core/ByteReader.h"
#include "engine/core/Log.h"
#include "engine/core/String.h"
#include "engine/platform/FileSystem.h"
#include "engine/render/archive/FileRef.h"
#include "game/render/LightNodes.h"

namespace mareldon {

bool LightTracks::Read(ByteReader& in) {
    return VisitTracks(
        *this, [&in](KeyTrack& track) { return track.Read(in); },
        [&in](RotationTrack& track) { return track.Read(in); });
}

size_t WalkLightFile(const uint8_t* data, size_t size, const char* fileName, const LightRecordSink& sink) {
    ByteReader in(data, size);
    size_t delivered = 0;
    while (in.Remaining() > 0) {
        const size_t offset = in.Position();
        int32_t type = 0;
        if (!in.I32(type)) {
            LOG_WARN("render", "light file \"%s\": %zu bytes at offset %zu are no record; reading stops",
                     fileName, size - offset, offset);
            break;
        }
        if (type < 0 || type > int32_t(LightFileType::Shadowmap))
            continue;
        // A fresh record each time: a type reads only its own tracks.
        auto record = std::make_unique<LightTracks>();
        record->type = LightFileType(type);
        if (!record->Read(in)) {
            LOG_WARN("render",
                     "light file \"%s\": the type %d record at offset %zu has a damaged track; reading stops "
                     "there",
                     fileName, type, offset);
            break;
        }
        ++delivered;
        sink(record);
    }
    return delivered;
}

namespace {

// The colours the nodes start with; a file's track headers replace them.
constexpr Vec4 kAmbient{0.05f, 0.07f, 0.1f, 1.0f};
constexpr Vec4 kDirectional{0.7f, 0.5f, 0.4f, 1.0f};
constexpr Vec4 kSecondDirectional{0.6f, 0.4f, 0.6f, 1.0f};
constexpr Vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Vec4 kFog{0.2f, 0.2f, 0.2f, 1.0f};

void TakeColour(LightNode& node, const LightTracks& record) {
    for (int i = 0; i < 4; ++i)
        node.colour[i].CopyFrom(record.colour[i]);
}

void TakeTransform(Object3D& node, const LightTracks& record) {
    for (int i = 0; i < LightTracks::kTransformTracks; ++i)
        node.tracks[i].CopyFrom(record.transform[i]);
    node.rotationTrack.CopyFrom(record.rotation);
    node.ApplyTracks();
}

}  // namespace

size_t BuildLightNodes(TaskObject* parent, const uint8_t* data, size_t size, const char* fileName,
                       std::vector<std::unique_ptr<LightTracks>>* shadowMaps) {
    size_t nodes = 0;
    WalkLightFile(data, size, fileName, [&](std::unique_ptr<LightTracks>& record) {
        switch (record->type) {
            case LightFileType::Ambient: {
                TakeColour(*new AmbientLight(parent, kAmbient), *record);
                break;
            }
            case LightFileType::Directional: {
                auto* light = new DirectionalLight(parent, kDirectional);
                TakeTransform(*light, *record);
                TakeColour(*light, *record);
                break;
            }
            case LightFileType::DirectionalSpecular: {
                auto* light = new DirectionalSpecularLight(parent, kWhite);
                TakeTransform(*light, *record);
                TakeColour(*light, *record);
                break;
            }
            case LightFileType::Fog: {
                auto* fog = new SimpleFog(parent, 10.0f, 150.0f, kFog);
                fog->nearTrack.CopyFrom(record->nearTrack);
                fog->farTrack.CopyFrom(record->farTrack);
                TakeColour(*fog, *record);
                break;
            }
            case LightFileType::Shadowmap:
                if (shadowMaps != nullptr)
                    shadowMaps->push_back(std::move(record));
                return;
        }
        ++nodes;
    });
    return nodes;
}

void BuildDefaultLights(TaskObject* parent) {
    new AmbientLight(parent, kAmbient);
    new DirectionalLight(parent, kDirectional);
    new DirectionalLight(parent, kSecondDirectional);
    new DirectionalSpecularLight(parent, kWhite);
    new SimpleFog(parent, 1.0f, 150.0f, kFog);
}

bool LoadLightFile(TaskObject* parent, const RefPtr<FileSystem>& files, const String& name,
                   std::vector<std::unique_ptr<LightTracks>>* shadowMaps) {
    RefPtr<FileRef> file(new FileRef(files, name, kFileRead));
    if (file->GetStatus() < 0) {
        BuildDefaultLights(parent);
        return false;
    }
    File& in = *file->GetFile();
    std::vector<uint8_t> bytes(in.GetSize());
    if (!bytes.empty() && !in.Read(bytes.data(), uint32_t(bytes.size()))) {
        LOG_WARN("render", "light file \"%s\" cannot be read; no lights from it", name.Text());
        return true;
    }
    BuildLightNodes(parent, bytes.data(), bytes.size(), name.Text(), shadowMaps);
    return true;
}

}  // namespace mareldon
