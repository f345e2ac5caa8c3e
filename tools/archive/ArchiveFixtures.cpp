#include "tools/archive/ArchiveFixtures.h"

#include <cmath>

#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"
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

std::vector<uint8_t> MakeSampleVertexShaderData() {
    ShaderDataWriter writer;
    writer.AddVertexShader("Plain ", "m4x4\toPos, v0, c0\n", {});
    writer.AddVertexShader("Normal Position:Normal: ", "m4x4\toPos, v0, c0\nmov\toD0, v1\n",
                           {{"Position", 2}, {"Normal", 2}});
    return writer.Bytes();
}

std::vector<uint8_t> MakeSamplePixelShaderData() {
    ShaderDataWriter writer;
    writer.AddPixelShader("Plain ", "mov\tr0, v0\n");
    writer.AddPixelShader("Normal Diffuse ", "tex\tt0\nmul\tr0, t0, v0\n");
    return writer.Bytes();
}

}  // namespace mareldon
