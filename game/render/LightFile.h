#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/core/KeyTrack.h"
#include "engine/core/RefPtr.h"
#include "engine/core/RotationTrack.h"

namespace mareldon {

class ByteReader;
class FileSystem;
class String;
class TaskObject;

// Record types of ".lights" files (stored numbers). Any other type word is a record
// of that word alone. The layout is in docs/light-file-format.md.
enum class LightFileType : int32_t {
    Ambient = 0,
    Directional = 1,
    DirectionalSpecular = 2,
    Fog = 3,
    Shadowmap = 4,
};

// The tracks of one light-file record. Which ones the file holds, and in which
// order, depends on the type (VisitTracks); the others stay empty.
struct LightTracks {
    static constexpr int32_t kTransformTracks = 12;
    static constexpr int32_t kParameterTracks = 6;

    LightFileType type = LightFileType::Ambient;
    // The node's transform tracks in their order: position x, y, z, Euler x, y, z,
    // scale x, y, z, pivot x, y, z. A shadow map has the first three only.
    KeyTrack transform[kTransformTracks];
    RotationTrack rotation;
    KeyTrack colour[4];  // r, g, b, a
    KeyTrack nearTrack;
    KeyTrack farTrack;
    // The shadow map's six parameters, in the order of its constructor's.
    KeyTrack parameters[kParameterTracks];

    // Calls key(KeyTrack&) and rotation(RotationTrack&) on the record's tracks in file
    // order while they return true; false when one did not. Reading and writing
    // share it, so the layout is spelled once.
    template <typename Self, typename Key, typename Rotation>
    static bool VisitTracks(Self& self, Key key, Rotation rotation);

    // The payload of `type`; false (the reader failed) when a track is damaged.
    bool Read(ByteReader& in);
};

// Walks light-file data from the start: a type word, then its payload, until the
// data ends. Each whole record of types 0 to 4 goes to the sink, which may keep it
// (moving it out); other type words are skipped alone. A record cut short or with a
// damaged track (a key count below 0 or beyond the bytes left, a key time that is
// not a number), or fewer than 4 bytes left for a type word, ends the walk with a
// log line naming the file and the record's offset. Returns the records delivered.
using LightRecordSink = std::function<void(std::unique_ptr<LightTracks>& record)>;
size_t WalkLightFile(const uint8_t* data, size_t size, const char* fileName, const LightRecordSink& sink);

// Builds the light nodes of light-file data under `parent`, one per ambient,
// directional, specular and fog record, in file order, each taking the record's
// tracks. Shadow-map records go to `shadowMaps` as their tracks (null: dropped), for
// the stage's shadow map. Returns the nodes built.
size_t BuildLightNodes(TaskObject* parent, const uint8_t* data, size_t size, const char* fileName,
                       std::vector<std::unique_ptr<LightTracks>>* shadowMaps);
// The lights of a stage without a light file, in this order: an ambient light, two
// directional lights, a white specular light and a fog (the shadow map's defaults
// are the stage's).
void BuildDefaultLights(TaskObject* parent);
// Reads the named light file through the file system and builds its nodes; when it
// cannot be opened, the default lights. False when the defaults were built.
bool LoadLightFile(TaskObject* parent, const RefPtr<FileSystem>& files, const String& name,
                   std::vector<std::unique_ptr<LightTracks>>* shadowMaps);

template <typename Self, typename Key, typename Rotation>
bool LightTracks::VisitTracks(Self& self, Key key, Rotation rotation) {
    auto keys = [&key](auto* tracks, int32_t count) {
        for (int32_t i = 0; i < count; ++i) {
            if (!key(tracks[i]))
                return false;
        }
        return true;
    };
    switch (self.type) {
        case LightFileType::Ambient:
            return keys(self.colour, 4);
        case LightFileType::Directional:
        case LightFileType::DirectionalSpecular:
            return keys(self.transform, kTransformTracks) && rotation(self.rotation) && keys(self.colour, 4);
        case LightFileType::Fog:
            return key(self.nearTrack) && key(self.farTrack) && keys(self.colour, 4);
        case LightFileType::Shadowmap:
            return keys(self.transform, 3) && rotation(self.rotation) && keys(self.colour, 4) &&
                   keys(self.parameters, kParameterTracks);
    }
    return true;
}

}  // namespace mareldon
