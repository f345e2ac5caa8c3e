#include "tools/archive/ArchiveFixtures.h"

#include <cmath>

#include "engine/core/Cp932.h"
#include "engine/core/Math.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"
#include "tools/archive/PlaceholderEffects.h"
#include "tools/archive/PlaceholderScreenData.h"
#include "tools/archive/PlaceholderSheets.h"
#include "tools/archive/PlaceholderShipSelect.h"
#include "tools/archive/PlaceholderShips.h"
#include "tools/archive/PlaceholderSounds.h"
#include "tools/archive/PlaceholderStages.h"
#include "tools/archive/ShaderDataWriter.h"

namespace mareldon {

std::vector<uint8_t> MakeEmptyArchive() {
    return MbdWriter().Build();
}

std::vector<uint8_t> MakePaddingArchive() {
    MbdWriter writer;
    writer.AddString("a");
    writer.AddString("bb");
    writer.AddString("");
    MbdWriter::Track track;
    track.keys.push_back({0.0f, 1.0f, 3, {}});
    track.keys.push_back({10.0f, 2.0f, 3, {}});
    writer.AddTrack(track);
    writer.AddBlob({0x11});
    writer.AddBlob({0x22, 0x33});
    int32_t sound = writer.AddSound(EncodeSoundRecord({1, 2, 3}, 8, 11025, 1));
    writer.AddSoundName("abcd", sound);
    return writer.Build();
}

namespace {

MbdWriter::Part TrianglePart(MbdWriter& writer, std::vector<MbdWriter::Element> elements, int32_t image) {
    int32_t perVertex = 0;
    for (const auto& element : elements) {
        perVertex += element.floatCount;
    }
    // A quad as two indexed triangles; every vertex word numbers its vertex.
    std::vector<float> words;
    for (int v = 0; v < 4; ++v) {
        for (int32_t w = 0; w < perVertex; ++w) {
            words.push_back(float(v) + float(w) / 100.0f);
        }
    }
    MbdWriter::Part part;
    part.name = "Layer1";
    part.kind = 3;
    part.elements = std::move(elements);
    if (image >= 0) {
        part.textures.push_back({"Diffuse", image});
    }
    part.vertexArray = writer.AddVertexArray(perVertex, words);
    part.vertexCount = 4;
    part.indexArray = writer.AddIndexArray({0, 1, 2, 2, 1, 3});
    part.indexCount = 6;
    part.settings.radius = 1.5f;
    part.settings.cullMode = 1;
    part.settings.castShadow = 1;
    return part;
}

std::vector<bool> Checker(int32_t w, int32_t h, int32_t cell) {
    std::vector<bool> ink(size_t(w) * size_t(h));
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            ink[size_t(y) * size_t(w) + size_t(x)] = ((x / cell) + (y / cell)) % 2 == 0;
        }
    }
    return ink;
}

}  // namespace

std::vector<bool> SampleGlyph(uint16_t code) {
    switch (code) {
        case 'A':
            return Checker(24, 24, 3);
        case 'B':
            return Checker(24, 24, 24);  // one solid block of ink
        default:
            return Checker(24, 24, 1);  // runs of one pixel throughout
    }
}

namespace {

std::vector<uint8_t> Sample(bool withFont) {
    MbdWriter writer;
    std::vector<uint16_t> pixels(16 * 16, 0xF0F0);
    int32_t texture = writer.AddImage(EncodeIimg(2, 16, 16, 5, pixels));
    std::vector<uint8_t> rgba(32 * 32 * 4, 0xFF);
    int32_t sheet = writer.AddImage(EncodePng(32, 32, rgba));

    MbdWriter::Node bone;
    bone.name = "bone";
    bone.type = 3;
    bone.paletteIndex = 0;
    MbdWriter::Node mesh;
    mesh.name = "mesh";
    mesh.type = 2;
    mesh.mesh.parameterCount = 1;
    mesh.mesh.parts.push_back(
        TrianglePart(writer, {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}}, texture));
    MbdWriter::Track emissive;
    emissive.defaultValue = 0.5f;
    mesh.mesh.parts[0].params.push_back({"Emissive", writer.AddTrack(emissive)});
    mesh.children.push_back(bone);
    MbdWriter::Node frame;
    frame.name = "frame";
    frame.type = 1;
    MbdWriter::Track moveX;
    moveX.keys.push_back({0.0f, 0.0f, 3, {}});
    moveX.keys.push_back({2.0f, 10.0f, 3, {}});
    frame.tracks[0] = writer.AddTrack(moveX);
    frame.children.push_back(mesh);
    MbdWriter::Node root;
    root.name = "scene";
    root.type = 0;
    root.startTime = 0.0f;
    root.endTime = 2.0f;
    root.children.push_back(frame);
    writer.AddModel("scene", root);

    MbdWriter::Node instanced;
    instanced.name = "instanced";
    instanced.type = 0;
    MbdWriter::Node batch;
    batch.name = "batch";
    batch.type = 2;
    batch.mesh.instancing = 1;
    batch.mesh.parts.push_back(TrianglePart(writer, {{"Position", 3}, {"X16", 16}}, -1));
    instanced.children.push_back(batch);
    writer.AddModel("instanced", instanced);

    writer.AddSprite("sheet", sheet, {{"a", 0, 0, 16, 16}, {"b", 16, 0, 16, 32}});

    if (withFont) {
        EncodedFont font = EncodeFont(
            24, 24,
            {{'A', 24, SampleGlyph('A')}, {'B', 12, SampleGlyph('B')}, {0x3042, 24, SampleGlyph(0x3042)}});
        writer.AddFont("F24", 24, 24, writer.AddWordArray(font.offsetTable), writer.AddBlob(font.bitStream));
    }

    std::vector<uint8_t> sine;
    for (int i = 0; i < 441; ++i) {
        int16_t sample = int16_t(std::lround(8000.0 * std::sin(i * 2.0 * M_PI * 440.0 / 22050.0)));
        sine.push_back(uint8_t(sample));
        sine.push_back(uint8_t(uint16_t(sample) >> 8));
    }
    int32_t shot = writer.AddSound(EncodeSoundRecord(sine, 16, 22050, 1));
    std::vector<uint8_t> stereo;
    for (int i = 0; i < 301; ++i) {
        stereo.push_back(uint8_t(128 + (i % 32)));
        stereo.push_back(uint8_t(128 - (i % 32)));
    }
    int32_t music = writer.AddSound(EncodeSoundRecord(stereo, 8, 11025, 2));
    writer.AddSoundName("se_shot", shot);
    writer.AddSoundName("bgm_title", music);

    writer.AddGroup({"SYSTEM", {}, {}, {texture, sheet}});
    writer.AddGroup({"SYSTEMSE", {shot}, {}, {}});
    writer.AddGroup({"SYSTEMBGM", {music}, {}, {}});
    return writer.Build();
}

}  // namespace

std::vector<uint8_t> MakeSampleArchive() {
    return Sample(true);
}

std::vector<uint8_t> MakeSmallSampleArchive() {
    return Sample(false);
}

namespace {

// The boot archive's records; `systemImages` join the sheet in the group "SYSTEM".
// With `screenSheets` the sheet holds the front-end screens' sprites too, and
// their own sheets are added.
void AddBootContent(MbdWriter& writer, const std::vector<int32_t>& systemImages, bool screenSheets = false) {
    auto cp932 = [](const char* utf8) { return Utf8ToCp932(utf8); };

    int32_t sheet = screenSheets ? AddPlaceholderFullSystemImage(writer) : AddPlaceholderSystemImage(writer);
    AddPlaceholderFont(writer);
    // After the system sheet, which stays image 0; the front-end screens' sprites share
    // the bullets' sheet "game".
    const int32_t game = AddPlaceholderStageData(writer, screenSheets);
    AddPlaceholderShipData(writer);
    AddPlaceholderEffectData(writer);
    AddPlaceholderShipSelectModels(writer);
    std::vector<int32_t> sheets;
    if (screenSheets) {
        sheets = AddPlaceholderScreenSheets(writer);
        const std::vector<int32_t> select = AddPlaceholderShipSelectSheets(writer);
        sheets.insert(sheets.end(), select.begin(), select.end());
        sheets.push_back(game);
    }

    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);

    std::vector<int32_t> system = {sheet};
    system.insert(system.end(), sheets.begin(), sheets.end());
    system.insert(system.end(), systemImages.begin(), systemImages.end());
    writer.AddGroup({"SYSTEM", {}, {}, system});
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    for (const char* bank : {"GAMEREGULAR", "STAGE_無", "STAGE_零", "STAGE00_始", "STAGE01_風", "STAGE02_火",
                             "STAGE03_海", "STAGE04_空", "STAGE05_天", "STAGE06_果"}) {
        writer.AddGroup({cp932(bank), {}, {}, {}});
    }
}

// A cube of 2 units, 4 vertices a face: Position, Normal, TextureUV. Seen from outside,
// every triangle runs clockwise, the front face of the culling the part asks for.
MbdWriter::Part CubePart(MbdWriter& writer, int32_t image) {
    struct Face {
        Vec3 normal;
        Vec3 across;
    };
    const Face faces[6] = {{{1, 0, 0}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}},
                           {{0, -1, 0}, {1, 0, 0}}, {{0, 0, 1}, {1, 0, 0}},  {{0, 0, -1}, {0, 1, 0}}};
    const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    std::vector<float> words;
    std::vector<uint32_t> indices;
    for (const Face& face : faces) {
        const Vec3& n = face.normal;
        const Vec3& u = face.across;
        // u x v = n.
        const Vec3 v{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
        const uint32_t first = uint32_t(words.size() / 8);
        for (const auto& st : corners) {
            words.insert(words.end(),
                         {n.x + st[0] * u.x + st[1] * v.x, n.y + st[0] * u.y + st[1] * v.y,
                          n.z + st[0] * u.z + st[1] * v.z, n.x, n.y, n.z, (st[0] + 1) / 2, (1 - st[1]) / 2});
        }
        indices.insert(indices.end(), {first, first + 3, first + 2, first, first + 2, first + 1});
    }
    MbdWriter::Part part;
    part.name = "Layer1";
    part.kind = 3;
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(8, words);
    part.vertexCount = 24;
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = 36;
    part.settings.radius = 1.8f;
    part.settings.cullMode = 2;  // counter-clockwise faces are culled
    part.settings.castShadow = 1;
    part.settings.receiveShadow = 1;
    return part;
}

// "placeholder_cube": root (0 to 4 s) > frame "spin", tilted 0.4 about x and turning
// once about y every 4 s > the cube's layer.
MbdWriter::Node PlaceholderCube(MbdWriter& writer, int32_t image) {
    MbdWriter::Node mesh;
    mesh.name = "placeholder_cube:Layer1";
    mesh.type = 2;
    mesh.mesh.parts.push_back(CubePart(writer, image));
    MbdWriter::Node spin;
    spin.name = "spin";
    spin.type = 1;
    MbdWriter::Track tilt;
    tilt.defaultValue = 0.4f;
    spin.tracks[3] = writer.AddTrack(tilt);
    MbdWriter::Track turn;
    turn.postMode = 2;  // cycle
    turn.keys.push_back({0.0f, 0.0f, 3, {}});
    turn.keys.push_back({4.0f, float(2.0 * M_PI), 3, {}});
    spin.tracks[4] = writer.AddTrack(turn);
    spin.children.push_back(mesh);
    MbdWriter::Node root;
    root.name = "placeholder_cube";
    root.type = 0;
    root.startTime = 0.0f;
    root.endTime = 4.0f;
    root.children.push_back(spin);
    return root;
}

// The bar of "placeholder_skinned": 2 units along x from 0, 0.3 across, 12 segments;
// Position, Normal, IndexedBoneWeight (weight 1, then the bone's first palette
// register: 0 up to x 1, 3 from there), TextureUV. Faces are wound as the cube's.
MbdWriter::Part SkinnedBarPart(MbdWriter& writer, int32_t image) {
    constexpr int kSegments = 12;
    constexpr float kLength = 2.0f;
    constexpr float kHalf = 0.15f;
    std::vector<float> words;
    std::vector<uint32_t> indices;
    // One quad: corners at (s, t) = (-1, -1), (-1, 1), (1, 1), (1, -1) of centre + s u + t v,
    // with u x v = n.
    auto quad = [&](Vec3 centre, Vec3 n, Vec3 u, float halfU, float halfV) {
        const Vec3 v{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
        const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
        const uint32_t first = uint32_t(words.size() / 10);
        for (const auto& st : corners) {
            const Vec3 p{centre.x + st[0] * halfU * u.x + st[1] * halfV * v.x,
                         centre.y + st[0] * halfU * u.y + st[1] * halfV * v.y,
                         centre.z + st[0] * halfU * u.z + st[1] * halfV * v.z};
            const float bone = p.x < 1.0f - 1e-4f ? 0.0f : 3.0f;
            words.insert(words.end(),
                         {p.x, p.y, p.z, n.x, n.y, n.z, 1.0f, bone, p.x / kLength, (1 - st[1]) / 2});
        }
        indices.insert(indices.end(), {first, first + 3, first + 2, first, first + 2, first + 1});
    };
    const Vec3 sides[4] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const float step = kLength / kSegments;
    for (const Vec3& n : sides) {
        for (int i = 0; i < kSegments; ++i) {
            const float x = (float(i) + 0.5f) * step;
            quad({x, n.y * kHalf, n.z * kHalf}, n, {1, 0, 0}, step / 2, kHalf);
        }
    }
    quad({0, 0, 0}, {-1, 0, 0}, {0, 1, 0}, kHalf, kHalf);
    quad({kLength, 0, 0}, {1, 0, 0}, {0, 1, 0}, kHalf, kHalf);
    MbdWriter::Part part;
    part.name = "Layer1";
    part.kind = 3;
    part.elements = {{"Position", 3}, {"Normal", 3}, {"IndexedBoneWeight", 2}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(10, words);
    part.vertexCount = int32_t(words.size() / 10);
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = int32_t(indices.size());
    MbdWriter::Track specular;
    specular.defaultValue = 1.0f;
    MbdWriter::Track emissive;
    emissive.defaultValue = 0.1f;
    part.params = {{"Specular", writer.AddTrack(specular)}, {"Emissive", writer.AddTrack(emissive)}};
    part.settings.centre[0] = 1.0f;
    part.settings.radius = 2.0f;  // bent as far as it goes
    part.settings.cullMode = 2;
    return part;
}

// "placeholder_skinned": root (0 to 2 s) > layer "placeholder_skinned:Layer1" (the bar,
// a palette of 2) > bone "bone0" at x 0 > bone "bone1" at x 1, whose Euler z runs from
// -1 to 1 rad and back every 2 s. Each offset matrix is the inverse of its bone's rest
// pose in the layer's space.
MbdWriter::Node PlaceholderSkinned(MbdWriter& writer, int32_t image) {
    MbdWriter::Node bone1;
    bone1.name = "bone1";
    bone1.type = 3;
    bone1.paletteIndex = 1;
    bone1.offsetMatrix = {1, 0, 0, -1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    MbdWriter::Track at;  // a node takes only the tracks that have keys
    at.keys.push_back({0.0f, 1.0f, 3, {}});
    bone1.tracks[0] = writer.AddTrack(at);
    MbdWriter::Track bend;
    bend.postMode = 2;  // cycle
    bend.keys = {{0.0f, -1.0f, 3, {}}, {1.0f, 1.0f, 3, {}}, {2.0f, -1.0f, 3, {}}};
    bone1.tracks[5] = writer.AddTrack(bend);
    MbdWriter::Node bone0;
    bone0.name = "bone0";
    bone0.type = 3;
    bone0.paletteIndex = 0;
    bone0.children.push_back(bone1);
    MbdWriter::Node mesh;
    mesh.name = "placeholder_skinned:Layer1";
    mesh.type = 2;
    mesh.mesh.paletteSize = 2;
    mesh.mesh.parts.push_back(SkinnedBarPart(writer, image));
    mesh.children.push_back(bone0);
    MbdWriter::Node root;
    root.name = "placeholder_skinned";
    root.type = 0;
    root.startTime = 0.0f;
    root.endTime = 2.0f;
    root.children.push_back(mesh);
    return root;
}

// A model of one mesh layer under its root (0 to 1 s).
MbdWriter::Node SingleMeshModel(const std::string& name, MbdWriter::Mesh mesh) {
    MbdWriter::Node layer;
    layer.name = name + ":Layer1";
    layer.type = 2;
    layer.mesh = std::move(mesh);
    MbdWriter::Node root;
    root.name = name;
    root.type = 0;
    root.startTime = 0.0f;
    root.endTime = 1.0f;
    root.children.push_back(layer);
    return root;
}

// A plane of side 2 * half at y 0 facing up, the checker `repeat` times across; it
// receives the shadow and casts none: "placeholder_ground" (12 x 12, twice across) and
// "placeholder_water" (4 x 4, once across).
MbdWriter::Node PlaceholderPlane(MbdWriter& writer, int32_t image, const char* name, float half,
                                 float repeat) {
    const float h = half;
    const float r = repeat;
    const std::vector<float> words = {-h, 0, -h, 0, 1, 0, 0, r, -h, 0, h,  0, 1, 0, 0, 0,
                                      h,  0, h,  0, 1, 0, r, 0, h,  0, -h, 0, 1, 0, r, r};
    MbdWriter::Part part;
    part.name = "Layer1";
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(8, words);
    part.vertexCount = 4;
    // Clockwise seen from above.
    part.indexArray = writer.AddIndexArray({0, 1, 2, 0, 2, 3});
    part.indexCount = 6;
    part.settings.radius = 0.0f;  // never culled
    part.settings.cullMode = 2;
    part.settings.castShadow = 0;
    part.settings.receiveShadow = 1;
    MbdWriter::Mesh mesh;
    mesh.parts.push_back(part);
    return SingleMeshModel(name, mesh);
}

// "placeholder_swarm": an instanced mesh, one 0.4 quad facing -z per section, 16
// sections; "X16" carries the section k as (k, 4k). Drawn in the layer "lightweight",
// half transparent, casting no shadow.
MbdWriter::Node PlaceholderSwarm(MbdWriter& writer, int32_t image) {
    std::vector<float> words;
    std::vector<uint32_t> indices;
    const float corners[4][2] = {{-0.2f, -0.2f}, {-0.2f, 0.2f}, {0.2f, 0.2f}, {0.2f, -0.2f}};
    for (uint32_t k = 0; k < 16; ++k) {
        for (const auto& c : corners)
            words.insert(words.end(),
                         {c[0], c[1], 0, 0, 0, -1, c[0] + 0.5f, 0.5f - c[1], float(k), float(4 * k)});
        const uint32_t first = 4 * k;
        indices.insert(indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    MbdWriter::Part part;
    part.name = "lightweight";
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}, {"X16", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(10, words);
    part.vertexCount = 64;
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = 96;
    MbdWriter::Track transparency;
    transparency.defaultValue = 0.25f;
    part.params = {{"Transparency", writer.AddTrack(transparency)}};
    part.settings.radius = 0.0f;
    part.settings.cullMode = 2;
    part.settings.castShadow = 0;
    MbdWriter::Mesh mesh;
    mesh.instancing = 1;
    mesh.parts.push_back(part);
    return SingleMeshModel("placeholder_swarm", mesh);
}

// "placeholder_effect": an instanced mesh of one 1 x 1 quad facing -z per section, 16
// sections; "X16" carries the section k as (k, 4k). No normals: effects are unlit.
MbdWriter::Node PlaceholderEffect(MbdWriter& writer, int32_t image) {
    std::vector<float> words;
    std::vector<uint32_t> indices;
    const float corners[4][2] = {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}};
    for (uint32_t k = 0; k < 16; ++k) {
        for (const auto& c : corners)
            words.insert(words.end(), {c[0], c[1], 0, c[0] + 0.5f, 0.5f - c[1], float(k), float(4 * k)});
        const uint32_t first = 4 * k;
        indices.insert(indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    MbdWriter::Part part;
    part.name = "Layer1";
    part.elements = {{"Position", 3}, {"TextureUV", 2}, {"X16", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(7, words);
    part.vertexCount = 64;
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = 96;
    part.settings.radius = 0.0f;
    part.settings.cullMode = 2;
    part.settings.castShadow = 0;
    MbdWriter::Mesh mesh;
    mesh.instancing = 1;
    mesh.parts.push_back(part);
    return SingleMeshModel("placeholder_effect", mesh);
}

}  // namespace

std::vector<uint8_t> MakeBootArchive() {
    MbdWriter writer;
    AddBootContent(writer, {});
    return writer.Build();
}

std::vector<uint8_t> MakeGameArchive() {
    MbdWriter writer;
    // Model 0, which a missing model name finds: an empty root, so it binds nothing.
    MbdWriter::Node empty;
    empty.name = "placeholder_empty";
    empty.type = 0;
    empty.startTime = 0.0f;
    empty.endTime = 1.0f;
    writer.AddModel("placeholder_empty", empty);
    std::vector<uint16_t> checker(64 * 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            checker[size_t(y * 64 + x)] = ((x / 8) + (y / 8)) % 2 ? 0xF555 : 0xFDDD;
        }
    }
    int32_t image = writer.AddImage(EncodeIimg(2, 64, 64, 1, checker));
    AddBootContent(writer, {image}, true);
    writer.AddModel("placeholder_cube", PlaceholderCube(writer, image));
    writer.AddModel("placeholder_skinned", PlaceholderSkinned(writer, image));
    writer.AddModel("placeholder_ground", PlaceholderPlane(writer, image, "placeholder_ground", 6, 2));
    writer.AddModel("placeholder_swarm", PlaceholderSwarm(writer, image));
    writer.AddModel("placeholder_water", PlaceholderPlane(writer, image, "placeholder_water", 2, 1));
    writer.AddModel("placeholder_effect", PlaceholderEffect(writer, image));
    return writer.Build();
}

std::vector<uint8_t> MakeSampleVertexShaderData() {
    ShaderDataWriter writer;
    // Keys as binding builds them: the generator's name, each element name and ":",
    // then the words the generator's Apply adds.
    writer.AddVertexShader("Plain", "m4x4\toPos, v0, c0\n", {});
    writer.AddVertexShader("NormalPosition:Normal:", "m4x4\toPos, v0, c0\nmov\toD0, v1\n",
                           {{"Position", 2}, {"Normal", 2}});
    return writer.Bytes();
}

std::vector<uint8_t> MakeSamplePixelShaderData() {
    ShaderDataWriter writer;
    writer.AddPixelShader("Plain", "mov\tr0, v0\n");
    writer.AddPixelShader("NormalSetMatTex 1 [L] ", "tex\tt0\nmul\tr0, t0, v0\n");
    return writer.Bytes();
}

}  // namespace mareldon
