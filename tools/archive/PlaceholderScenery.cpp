#include "tools/archive/PlaceholderScenery.h"

#include <string>
#include <vector>

#include "tools/archive/ArchiveRecords.h"

namespace mareldon {

namespace {

using namespace scenery;

constexpr int32_t kSolidSize = 8;
constexpr int32_t kCheckerSize = 64;

void Put(std::vector<uint8_t>& rgba, size_t pixel, uint32_t rgb, uint8_t alpha) {
    rgba[pixel * 4 + 0] = uint8_t(rgb >> 16);
    rgba[pixel * 4 + 1] = uint8_t(rgb >> 8);
    rgba[pixel * 4 + 2] = uint8_t(rgb);
    rgba[pixel * 4 + 3] = alpha;
}

std::vector<uint8_t> SolidPng(uint32_t rgb, uint8_t alpha) {
    std::vector<uint8_t> rgba(size_t(kSolidSize) * kSolidSize * 4);
    for (size_t i = 0; i < size_t(kSolidSize) * kSolidSize; ++i)
        Put(rgba, i, rgb, alpha);
    return EncodePng(kSolidSize, kSolidSize, rgba);
}

// Two by two cells; the texture spans two units, so a cell is one. The top-left
// cell (u and v from 0) takes `first`.
std::vector<uint8_t> CheckerPng(uint32_t first, uint32_t second) {
    std::vector<uint8_t> rgba(size_t(kCheckerSize) * kCheckerSize * 4);
    const int32_t cell = kCheckerSize / 2;
    for (int32_t y = 0; y < kCheckerSize; ++y) {
        for (int32_t x = 0; x < kCheckerSize; ++x)
            Put(rgba, size_t(y * kCheckerSize + x), (x / cell + y / cell) % 2 ? second : first, 255);
    }
    return EncodePng(kCheckerSize, kCheckerSize, rgba);
}

MbdWriter::Part MakePart(MbdWriter& writer, const char* group, int32_t image, const std::vector<float>& words,
                         const std::vector<uint32_t>& indices) {
    MbdWriter::Part part;
    part.name = group;
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(8, words);
    part.vertexCount = int32_t(words.size() / 8);
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = int32_t(indices.size());
    part.settings.radius = 0.0f;  // never culled: the field is longer than any sphere test is worth
    part.settings.cullMode = 2;   // counter-clockwise faces are culled
    return part;
}

// A horizontal rectangle at height y facing up; the texture repeats every two
// units, from (0, 0) at x 0, z 0. Clockwise seen from above.
MbdWriter::Part Plane(MbdWriter& writer, const char* group, int32_t image, float x0, float x1, float z0,
                      float z1, float y) {
    const std::vector<float> words = {
        x0, y, z0, 0, 1, 0, x0 / 2, z0 / 2, x0, y, z1, 0, 1, 0, x0 / 2, z1 / 2,
        x1, y, z1, 0, 1, 0, x1 / 2, z1 / 2, x1, y, z0, 0, 1, 0, x1 / 2, z0 / 2,
    };
    return MakePart(writer, group, image, words, {0, 1, 2, 0, 2, 3});
}

// A box standing on the ground, 4 vertices a face, wound like the cube of the
// backdrop: clockwise seen from outside.
MbdWriter::Part BoxPart(MbdWriter& writer, const char* group, int32_t image, const Box& box) {
    struct Face {
        float n[3];
        float u[3];
    };
    const Face faces[6] = {{{1, 0, 0}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}},
                           {{0, -1, 0}, {1, 0, 0}}, {{0, 0, 1}, {1, 0, 0}},  {{0, 0, -1}, {0, 1, 0}}};
    const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    const float centre[3] = {box.x, box.height * 0.5f, box.z};
    const float half[3] = {box.halfX, box.height * 0.5f, box.halfZ};
    std::vector<float> words;
    std::vector<uint32_t> indices;
    for (const Face& face : faces) {
        const float* n = face.n;
        const float* u = face.u;
        // u x v = n.
        const float v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
        const uint32_t first = uint32_t(words.size() / 8);
        for (const auto& st : corners) {
            for (int axis = 0; axis < 3; ++axis)
                words.push_back(centre[axis] + (n[axis] + st[0] * u[axis] + st[1] * v[axis]) * half[axis]);
            words.insert(words.end(), {n[0], n[1], n[2], (st[0] + 1) / 2, (1 - st[1]) / 2});
        }
        indices.insert(indices.end(), {first, first + 3, first + 2, first, first + 2, first + 1});
    }
    return MakePart(writer, group, image, words, indices);
}

MbdWriter::Node MeshNode(const std::string& name, MbdWriter::Part part) {
    MbdWriter::Node node;
    node.name = name;
    node.type = 2;
    node.mesh.parts.push_back(std::move(part));
    return node;
}

}  // namespace

StageSceneryImages AddStageSceneryImages(MbdWriter& writer) {
    StageSceneryImages images;
    images.ground = writer.AddImage(CheckerPng(kGroundLight, kGroundDark));
    images.block = writer.AddImage(SolidPng(kBlock, 255));
    images.unseen = writer.AddImage(SolidPng(kUnseen, 255));
    images.glass = writer.AddImage(SolidPng(kGlass, 128));
    images.glow = writer.AddImage(SolidPng(kGlow, 255));
    images.seaFloor = writer.AddImage(CheckerPng(0x1E5A78, 0x28828C));
    images.waterface = writer.AddImage(SolidPng(kWaterface, 85));
    return images;
}

MbdWriter::Node SceneryField(MbdWriter& writer, const StageSceneryImages& images, bool water) {
    MbdWriter::Node field;
    field.name = "Field";
    field.type = 1;
    MbdWriter::Track slide;
    slide.keys.push_back({0.0f, 0.0f, 3, {}});
    slide.keys.push_back({kHoldTime, 0.0f, 3, {}});
    slide.keys.push_back({300.0f, -kSlide, 3, {}});
    field.tracks[2] = writer.AddTrack(slide);

    MbdWriter::Part ground = Plane(writer, "ground", images.ground, -kGroundHalfWidth, kGroundHalfWidth,
                                   kGroundNear, kGroundFar, 0.0f);
    ground.settings.receiveShadow = 1;
    field.children.push_back(MeshNode("ground", ground));
    for (const Box* box : {&kTower, &kLowBlock}) {
        MbdWriter::Part part = BoxPart(writer, "block", images.block, *box);
        part.settings.castShadow = 1;
        part.settings.receiveShadow = 1;
        field.children.push_back(MeshNode(box == &kTower ? "tower" : "lowblock", part));
    }
    field.children.push_back(MeshNode("unseenblock", BoxPart(writer, "unseen", images.unseen, kUnseenBlock)));
    field.children.push_back(MeshNode("glassblock", BoxPart(writer, "alphaface", images.glass, kGlassBlock)));
    const Box& g = kGlowQuad;
    field.children.push_back(MeshNode("glow", Plane(writer, "addsat", images.glow, g.x - g.halfX,
                                                    g.x + g.halfX, g.z - g.halfZ, g.z + g.halfZ, g.height)));
    if (water) {
        MbdWriter::Part surface = Plane(writer, "waterface", images.waterface, kWaterLeft, kGroundHalfWidth,
                                        kGroundNear, kGroundFar, 0.02f);
        surface.settings.receiveShadow = 1;
        field.children.push_back(MeshNode("water", surface));
    }
    return field;
}

MbdWriter::Node SeaFloor(MbdWriter& writer, const StageSceneryImages& images, const std::string& name) {
    return MeshNode(name, Plane(writer, "seafloor", images.seaFloor, -kGroundHalfWidth, kGroundHalfWidth,
                                kGroundNear, kGroundFar, kSeaFloorDepth));
}

}  // namespace mareldon
