#include "tools/archive/PlaceholderEffects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "tools/archive/ArchiveRecords.h"

namespace mareldon {

namespace {

constexpr int32_t kCell = 32;
constexpr int32_t kCells = 8;
constexpr int32_t kSheetSize = kCell * kCells;

using Rgba = std::array<uint8_t, 4>;

constexpr Rgba kShipRings[4] = {
    {70, 130, 230, 110}, {220, 70, 60, 110}, {60, 190, 90, 110}, {230, 180, 40, 110}};

void Put(std::vector<uint8_t>& rgba, int32_t size, int32_t x, int32_t y, const Rgba& colour) {
    std::copy(colour.begin(), colour.end(), rgba.begin() + (size_t(y) * size_t(size) + size_t(x)) * 4);
}

Rgba FireballColour(float t) {
    // Yellow, then red, then smoke grey.
    if (t < 0.5f) {
        const float k = t / 0.5f;
        return {255, uint8_t(230 - 170 * k), uint8_t(60 - 40 * k), 255};
    }
    const float k = (t - 0.5f) / 0.5f;
    return {uint8_t(255 - 155 * k), uint8_t(60 + 40 * k), uint8_t(20 + 80 * k), uint8_t(255 - 135 * k)};
}

int32_t ImageOf(MbdWriter& writer, const Rgba& colour) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 4; ++i)
        rgba.insert(rgba.end(), colour.begin(), colour.end());
    return writer.AddImage(EncodePng(2, 2, rgba));
}

MbdWriter::Node Root(const std::string& name, float endTime, MbdWriter::Node mesh) {
    MbdWriter::Node root;
    root.name = name;
    root.type = 0;
    root.endTime = endTime;
    root.children.push_back(std::move(mesh));
    return root;
}

MbdWriter::Node MeshNode(const std::string& name, MbdWriter::Part part) {
    MbdWriter::Node mesh;
    mesh.name = name + ":" + part.name;
    mesh.type = 2;
    mesh.mesh.parts.push_back(std::move(part));
    return mesh;
}

// A flat quad facing up over the sheet's first cell of that layout.
MbdWriter::Part SheetQuad(MbdWriter& writer, const char* material, float half, float cellU, float cellV,
                          int32_t image) {
    MbdWriter::Part part;
    part.name = material;
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    const float h = half;
    part.vertexArray = writer.AddVertexArray(8, {-h, 0, -h, 0, 1, 0, 0,     cellV,  //
                                                 h,  0, -h, 0, 1, 0, cellU, cellV,  //
                                                 -h, 0, h,  0, 1, 0, 0,     0,      //
                                                 h,  0, h,  0, 1, 0, cellU, 0});
    part.vertexCount = 4;
    part.indexArray = writer.AddIndexArray({0, 1, 2, 2, 1, 3});
    part.indexCount = 6;
    part.settings.radius = 1.5f * half;
    return part;
}

// A flat ring of 24 segments between the radii, facing up.
MbdWriter::Part Ring(MbdWriter& writer, float inner, float outer, int32_t image) {
    constexpr int32_t kSegments = 24;
    std::vector<float> words;
    std::vector<uint32_t> indices;
    for (int32_t i = 0; i <= kSegments; ++i) {
        const float a = float(i) * 6.2831855f / float(kSegments);
        const float c = std::cos(a), s = std::sin(a);
        words.insert(words.end(), {c * inner, 0, s * inner, 0, 1, 0, 0.5f, 0.5f});
        words.insert(words.end(), {c * outer, 0, s * outer, 0, 1, 0, 0.5f, 0.5f});
        if (i < kSegments) {
            const uint32_t k = uint32_t(2 * i);
            indices.insert(indices.end(), {k, k + 1, k + 2, k + 2, k + 1, k + 3});
        }
    }
    MbdWriter::Part part;
    part.name = "Layer1";
    part.elements = {{"Position", 3}, {"Normal", 3}, {"TextureUV", 2}};
    part.textures.push_back({"Diffuse", image});
    part.vertexArray = writer.AddVertexArray(8, words);
    part.vertexCount = 2 * (kSegments + 1);
    part.indexArray = writer.AddIndexArray(indices);
    part.indexCount = int32_t(indices.size());
    part.settings.radius = outer;
    return part;
}

}  // namespace

std::vector<uint8_t> FireballSheetPng() {
    static const std::vector<uint8_t> png = [] {
        std::vector<uint8_t> rgba(size_t(kSheetSize) * kSheetSize * 4, 0);
        const int32_t count = kCells * kCells;
        for (int32_t cell = 0; cell < count; ++cell) {
            const int32_t x0 = (cell % kCells) * kCell, y0 = (cell / kCells) * kCell;
            const float t = float(cell) / float(count - 1);
            const float radius = 4.0f + 11.0f * std::sin(t * 2.6f);
            const Rgba colour = FireballColour(t);
            for (int32_t y = 0; y < kCell; ++y) {
                for (int32_t x = 0; x < kCell; ++x) {
                    const float dx = float(x) + 0.5f - kCell / 2.0f, dy = float(y) + 0.5f - kCell / 2.0f;
                    if (dx * dx + dy * dy <= radius * radius)
                        Put(rgba, kSheetSize, x0 + x, y0 + y, colour);
                }
            }
            for (int32_t bit = 0; bit < 6; ++bit) {
                if ((cell >> bit) & 1) {
                    for (int32_t dx = 0; dx < 3; ++dx)
                        Put(rgba, kSheetSize, x0 + 2 + bit * 5 + dx, y0 + 1, {255, 255, 255, 255});
                }
            }
        }
        return EncodePng(kSheetSize, kSheetSize, rgba);
    }();
    return png;
}

const std::vector<PlaceholderSheetEffect>& PlaceholderSheetEffects() {
    static const std::vector<PlaceholderSheetEffect> effects = {
        {"EXPLOSION_ita_SA01", "uvscroll4x2", 0.5f}, {"EXPLOSION_ita_MA01", "uvscroll8x4", 0.7f},
        {"EXPLOSION_ita_LA01", "uvscroll8x8", 0.9f}, {"EXPLOSION_SG01", "uvscroll4x2", 0.6f},
        {"EXPLOSION_LG01", "uvscroll8x8", 0.9f},     {"EFECTS_KEMURI_01", "uvscroll8x4", 0.8f},
    };
    return effects;
}

void AddPlaceholderEffectData(MbdWriter& writer) {
    const int32_t sheet = writer.AddImage(FireballSheetPng());
    for (const PlaceholderSheetEffect& effect : PlaceholderSheetEffects()) {
        const std::string material = effect.material;
        const float cellU = material == "uvscroll4x2" ? 0.25f : 0.125f;
        const float cellV = material == "uvscroll4x2" ? 0.5f : material == "uvscroll8x4" ? 0.25f : 0.125f;
        const float half = 0.4f + effect.endTime * 0.6f;
        writer.AddModel(
            effect.name,
            Root(effect.name, effect.endTime,
                 MeshNode(effect.name, SheetQuad(writer, effect.material, half, cellU, cellV, sheet))));
    }
    for (int32_t type = 0; type < 4; ++type) {
        const std::string name = "refrect_force_0" + std::string(1, char('0' + type));
        writer.AddModel(
            name,
            Root(name, 1.0f, MeshNode(name, Ring(writer, 0.8f, 1.0f, ImageOf(writer, kShipRings[type])))));
    }
    // A scorch decal over the sheet's four quarters, stepped by its own object.
    writer.AddModel(
        "chijyou_bakha_ato4_0",
        Root("chijyou_bakha_ato4_0", 1.0f,
             MeshNode("chijyou_bakha_ato4_0", SheetQuad(writer, "zangai2x2", 0.8f, 0.5f, 0.5f, sheet))));
    writer.AddModel(
        "REFLECT_HATSUDOU",
        Root("REFLECT_HATSUDOU", 0.25f,
             MeshNode("REFLECT_HATSUDOU", Ring(writer, 0.0f, 1.5f, ImageOf(writer, {255, 255, 255, 160})))));
    writer.AddModel(
        "REFLECT_KAIFUKU",
        Root("REFLECT_KAIFUKU", 0.3f,
             MeshNode("REFLECT_KAIFUKU", Ring(writer, 0.3f, 0.7f, ImageOf(writer, {120, 230, 255, 160})))));
}

}  // namespace mareldon
