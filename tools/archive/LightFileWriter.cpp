#include "tools/archive/LightFileWriter.h"

namespace mareldon {

void WriteKeyTrack(ByteWriter& out, const KeyTrack& track) {
    out.I32(track.preMode);
    out.I32(track.postMode);
    out.F32(track.defaultValue);
    out.I32(track.keyCount);
    for (int32_t k = 0; k < track.keyCount; ++k) {
        const TrackKey& key = track.keys[k];
        out.F32(key.time);
        out.F32(key.value);
        out.U32(key.kind);
        out.F32(key.c0);
        out.F32(key.c1);
        out.F32(key.c2);
        out.F32(key.c3);
        out.U32(key.reserved);
    }
}

void WriteRotationTrack(ByteWriter& out, const RotationTrack& track) {
    out.F32(track.initial.x);
    out.F32(track.initial.y);
    out.F32(track.initial.z);
    out.F32(track.initial.w);
    out.I32(track.keyCount);
    for (int32_t k = 0; k < track.keyCount; ++k) {
        const RotationKey& key = track.keys[k];
        out.F32(key.time);
        out.Skip(12);
        out.F32(key.rotation.x);
        out.F32(key.rotation.y);
        out.F32(key.rotation.z);
        out.F32(key.rotation.w);
    }
}

void WriteLightRecord(ByteWriter& out, const LightTracks& record) {
    out.I32(int32_t(record.type));
    LightTracks::VisitTracks(
        record,
        [&out](const KeyTrack& track) {
            WriteKeyTrack(out, track);
            return true;
        },
        [&out](const RotationTrack& track) {
            WriteRotationTrack(out, track);
            return true;
        });
}

namespace {

void SetColour(LightTracks& record, float r, float g, float b, float a) {
    const float colour[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i)
        record.colour[i].defaultValue = colour[i];
}

}  // namespace

std::vector<uint8_t> MakeSampleLightFile() {
    ByteWriter out;
    LightTracks ambient;
    SetColour(ambient, 0.1f, 0.1f, 0.1f, 1.0f);
    ambient.colour[0].SetKey(0.0f, 0.1f, 3);
    ambient.colour[0].SetKey(1.0f, 0.3f, 3);
    WriteLightRecord(out, ambient);
    out.I32(7);

    LightTracks directional;
    directional.type = LightFileType::Directional;
    SetColour(directional, 0.7f, 0.5f, 0.4f, 1.0f);
    directional.transform[3].defaultValue = 0.5f;  // Euler x
    directional.rotation.SetKey(0.0f, EulerToQuaternion(0.0f, 0.0f, 0.0f));
    directional.rotation.SetKey(2.0f, EulerToQuaternion(0.0f, 1.0f, 0.0f));
    WriteLightRecord(out, directional);
    directional.type = LightFileType::DirectionalSpecular;
    SetColour(directional, 1.0f, 1.0f, 1.0f, 1.0f);
    WriteLightRecord(out, directional);

    LightTracks fog;
    fog.type = LightFileType::Fog;
    fog.nearTrack.defaultValue = 10.0f;
    fog.farTrack.defaultValue = 150.0f;
    fog.farTrack.SetKey(0.0f, 150.0f, 3);
    fog.farTrack.SetKey(4.0f, 100.0f, 3);
    SetColour(fog, 0.2f, 0.2f, 0.2f, 1.0f);
    WriteLightRecord(out, fog);

    LightTracks shadow;
    shadow.type = LightFileType::Shadowmap;
    shadow.transform[1].defaultValue = 20.0f;
    shadow.rotation.initial = EulerToQuaternion(-1.6580629f, 0.0f, 0.0f);
    SetColour(shadow, -0.1f, -0.08f, -0.08f, 1.0f);
    const float parameters[6] = {19.0f, 41.0f, 0.0f, 0.07f, 0.07f, 0.1f};
    for (int i = 0; i < 6; ++i)
        shadow.parameters[i].defaultValue = parameters[i];
    WriteLightRecord(out, shadow);
    return out.bytes;
}

std::vector<uint8_t> MakePlaceholderLightFile() {
    ByteWriter out;
    LightTracks ambient;
    SetColour(ambient, 0.15f, 0.15f, 0.2f, 1.0f);
    WriteLightRecord(out, ambient);

    // Eighth turns a second, shining down a little (this Euler x turns the other way
    // round from a node's): slerp takes the shorter arc, so a whole turn needs keys
    // closer than half a turn apart.
    LightTracks directional;
    directional.type = LightFileType::Directional;
    SetColour(directional, 0.85f, 0.8f, 0.7f, 1.0f);
    constexpr float kPi = 3.14159265f;
    for (int k = 0; k <= 8; ++k)
        directional.rotation.SetKey(float(k), EulerToQuaternion(-0.5f, float(k) * kPi / 4.0f, 0.0f));
    WriteLightRecord(out, directional);

    LightTracks specular;
    specular.type = LightFileType::DirectionalSpecular;
    SetColour(specular, 0.6f, 0.6f, 0.6f, 1.0f);
    // A node takes only the transform tracks that have keys.
    specular.rotation.SetKey(0.0f, EulerToQuaternion(-0.4f, -0.5f, 0.0f));
    WriteLightRecord(out, specular);

    LightTracks fog;
    fog.type = LightFileType::Fog;
    fog.nearTrack.defaultValue = 5.0f;
    fog.farTrack.defaultValue = 40.0f;
    SetColour(fog, 0.125f, 0.19f, 0.31f, 1.0f);
    WriteLightRecord(out, fog);

    // A parallel shadow camera 20 above the backdrop, looking down (+z to -y), its
    // depth range around the models and its square covering the ground.
    LightTracks shadow;
    shadow.type = LightFileType::Shadowmap;
    shadow.transform[1].SetKey(0.0f, 20.0f, 3);
    const float half = 0.70710678f;
    shadow.rotation.SetKey(0.0f, Quaternion{half, 0.0f, 0.0f, half});
    SetColour(shadow, -0.3f, -0.3f, -0.25f, 1.0f);
    const float parameters[6] = {16.0f, 26.0f, 0.0f, 0.14f, 0.14f, 0.01f};
    for (int i = 0; i < 6; ++i)
        shadow.parameters[i].defaultValue = parameters[i];
    WriteLightRecord(out, shadow);
    return out.bytes;
}

}  // namespace mareldon
