#include "game/render/LightFile.h"

#include "engine/core/ByteReader.h"
#include "engine/core/Log.h"

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

}  // namespace mareldon
