#pragma once

#include <cstdint>
#include <vector>

namespace mareldon {

// Archives and shader data files that tests and `mbdtool write` share.

// All thirteen counts 0: a 52-byte body.
std::vector<uint8_t> MakeEmptyArchive();

// Alignment cases: strings of 1, 2 and 0 characters then one key track; blobs of
// 1 and 2 bytes; a sound name of 4 characters (length 5, an 8-byte field).
std::vector<uint8_t> MakePaddingArchive();

// One of each kind of resource:
//  - model "scene": root (type 0, 0 to 2 s) > "frame" (type 1) > "mesh" (type 2,
//    one indexed triangle-list part "Layer1" with Position/Normal/TextureUV and an
//    IIMG "Diffuse" texture, image 0) > "bone" (type 3);
//  - model "instanced": one instanced part with an "X16" element of 16 floats;
//  - sprite "sheet" on a PNG image (image 1) with frames "a" and "b";
//  - font "F24", 24x24, glyphs 'A', 'B' and 0x3042;
//  - sounds "se_shot" (16-bit mono 22050 Hz sine) and "bgm_title" (8-bit stereo);
//  - groups "SYSTEM" (images 0, 1), "SYSTEMSE" (sound 0), "SYSTEMBGM" (sound 1).
std::vector<uint8_t> MakeSampleArchive();
// The same without the font, whose offset table alone takes 256 KiB (a fuzzing seed).
std::vector<uint8_t> MakeSmallSampleArchive();

// Enough for the whole game to start: a model for every stage id, the
// "systemimage" sheet with the credit overlay's sprites, the font "F24" with
// every printable ASCII character, every sound-effect and music cue name (each
// name a sound of its own, PlaceholderSounds.h), and the thirteen sound banks as
// groups. Names the
// program asks for beyond these fall back to the first entry of their list.
std::vector<uint8_t> MakeBootArchive();

// The placeholder game data set's archive: the boot archive's records, and
//  - model 0 "placeholder_empty", a root (0 to 1 s) without children, which a missing
//    model name binds;
//  - "placeholder_cube": root (0 to 4 s) > frame "spin" (Euler x 0.4, Euler y 0 to 2 pi
//    over 4 s, cycling) > layer "placeholder_cube:Layer1": one indexed triangle-list
//    part "Layer1" (24 vertices, 36 indices; Position, Normal, TextureUV; a 64x64 IIMG
//    checker as "Diffuse", in the group "SYSTEM"), radius 1.8, counter-clockwise faces
//    culled, casting and receiving shadows;
//  - "placeholder_skinned": root (0 to 2 s) > layer "placeholder_skinned:Layer1": a bar 2
//    units along x in 12 segments (Position, Normal, IndexedBoneWeight, TextureUV, the
//    checker; "Specular" 1, "Emissive" 0.1), a palette of 2 > bone "bone0" at x 0 >
//    bone "bone1" at x 1, its Euler z from -1 to 1 rad and back every 2 s;
//  - "placeholder_ground" and "placeholder_swarm" for the backdrop's shadow and swarm;
//  - "placeholder_water": a 4x4 plane at y 0 facing up (Position, Normal, TextureUV);
//  - "placeholder_effect": instanced, one 1x1 quad facing -z in each of 16 sections
//    (Position, TextureUV, "X16" = (k, 4k)).
std::vector<uint8_t> MakeGameArchive();

// The sample's font glyphs, as the glyph decoder should give them back.
std::vector<bool> SampleGlyph(uint16_t code);

// "QVDSHDV.dat" with a record of no elements and one of two, and "QVDSHDP.dat"
// with two records.
std::vector<uint8_t> MakeSampleVertexShaderData();
std::vector<uint8_t> MakeSamplePixelShaderData();

}  // namespace mareldon
