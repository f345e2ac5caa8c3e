// The "Normal" generator's vertex text, written from the state SetConstants left.
//
// Registers: r0, r1 scratch; r2 clip position, then shadow-map coordinates; r3 skinned
// normal; r4 skinned position; r5 displaced position; r6 light factors and added
// colour; r7 specular; r8 morphed position; r9 morphed normal; a0.x palette or morph
// index.
#include "game/render/NormalShaderGen.h"

namespace mareldon {

namespace {

// "c[a0.x + B]": a register of a palette or weight array indexed by a0.x.
String Indexed(int32_t base) {
    return ShaderTextBuilder::MakeRegisterName("c[a0.x + ", base) + "]";
}

}  // namespace

void NormalShaderGen::BuildVertexShader() {
    EmitTexCoords();
    const String* p = draw.position;
    const String* n = draw.normal;
    if (draw.pretransformed) {
        EmitM4x4(PositionOutName(), *p, VsConstName(draw.positionMatrix));
    } else {
        EmitMorphs(p, n);
        EmitSkinning(p, n, true, !draw.unlit);
        EmitSonic(p);
        if (draw.x16) {
            EmitMov("a0.x", *draw.x16Register + ".y");
            EmitM4x4("r2", *p, Indexed(draw.x16Base));
        } else {
            EmitM4x4("r2", *p, VsConstName(draw.positionMatrix));
        }
        EmitMov(PositionOutName(), "r2");
    }
    if (!draw.unlit) {
        EmitLitColours(*p, *n);
    } else {
        EmitMov("oD0.rgba", draw.diffuse->IsEmpty() ? VsConstName(draw.one) : *draw.diffuse);
    }
}

void NormalShaderGen::EmitTexCoords() {
    for (int32_t i = 0; i < draw.texCoordCount; ++i) {
        if (draw.uvScrollCount > 0)
            EmitAdd(TextureOutName(i), *draw.texCoords[i], VsConstName(draw.uvScroll));
        else
            EmitMov(TextureOutName(i), *draw.texCoords[i]);
    }
}

void NormalShaderGen::EmitMorphs(const String*& p, const String*& n) {
    static const String r8("r8"), r9("r9");
    if (draw.morphCount == 0)
        return;
    EmitMov(r8, *p);
    EmitMov(r9, *n);
    p = &r8;
    n = &r9;
    String weight = Indexed(draw.morphBase) + ".x";
    for (int32_t i = 0; i < draw.morphCount; ++i) {
        EmitMov("a0.x", *draw.morphVectors[i] + ".w");
        EmitMad("r8.xyz", *draw.morphVectors[i] + ".xyz", weight, r8);
        EmitMad("r9.xyz", *draw.morphNormals[i] + ".xyz", weight, r9);
    }
    EmitNormalize(r9);
}

void NormalShaderGen::EmitSkinning(const String*& p, const String*& n, bool remainder, bool normalise) {
    static const String r3("r3"), r4("r4");
    if (draw.boneWeightCount == 0)
        return;
    const bool lit = !draw.unlit;
    String palette = Indexed(draw.boneBase);
    if (remainder)
        EmitMov("r6.x", VsConstName(draw.one));
    for (int32_t j = 0; j < draw.boneWeightCount; ++j) {
        const String& weight = *draw.boneWeights[j];
        EmitMov("a0.x", weight + ".y");
        EmitRaw("m4x3\tr0.xyz, " + *p + ", " + palette);
        if (lit)
            EmitRaw("m3x3\tr1, " + *n + ", " + palette);
        if (j == 0) {
            EmitRaw("mul\tr4.xyz, r0.xyz, " + weight + ".xxx");
            if (lit)
                EmitRaw("mul\tr3.xyz, r1.xyz, " + weight + ".xxx");
        } else {
            EmitRaw("mad\tr4.xyz, r0.xyz, " + weight + ".xxx, r4.xyz");
            if (lit)
                EmitRaw("mad\tr3.xyz, r1.xyz, " + weight + ".xxx, r3.xyz");
        }
        if (remainder)
            EmitSub("r6.x", "r6.x", weight + ".x");
    }
    if (remainder)
        EmitMad("r4.xyz", *p, "r6.xxx", "r4.xyz");
    EmitSge("r4.w", "r4.x", "r4.x");
    if (lit) {
        if (normalise) {
            EmitMad("r3.xyz", *n, "r6.xxx", "r3.xyz");
            EmitNormalize(r3);
        }
        n = &r3;
    }
    p = &r4;
}

void NormalShaderGen::EmitSonic(const String*& p) {
    static const String r5("r5");
    if (draw.sonicCount == 0)
        return;
    const String& zero = VsConstName(draw.zero);
    EmitSub("r0.xyz", *p + ".xyz", VsConstName(draw.sonicCentre));
    EmitDp3("r0.w", "r0.xyz", "r0.xyz");
    EmitRsq("r1.w", "r0.w");
    EmitMul("r0.xyzw", "r0.xyzw", "r1.wwww");
    EmitSub("r5.w", "r0.w", VsConstName(draw.sonic[0]));
    EmitSge("r1.w", zero, "r5.w");
    EmitAdd("r5.w", VsConstName(draw.sonic[2]), "r5.w");
    EmitMax("r5.w", zero, "r5.w");
    EmitMul("r5.w", "r1.w", "r5.w");
    EmitMad("r5.xyz", "r0.xyz", "r5.www", *p + ".xyz");
    EmitSge("r5.w", "r5.x", "r5.x");
    p = &r5;
}

void NormalShaderGen::EmitLitColours(const String& p, const String& n) {
    const bool sonic = draw.sonicCount > 0;
    const bool fog = draw.fogCount > 0;
    const bool specular = draw.specularCount > 0;
    const bool emissive = draw.emissiveLightCount > 0;
    const String& zero = VsConstName(draw.zero);
    // Each added colour goes to oD1 when it is the last one, else builds up in r6.
    if (sonic) {
        String target = !fog && !specular && !emissive ? "oD1.xyz" : "r6.xyz";
        EmitDp3("r1.x", n + ".xyz", "-r0.xyz");
        EmitSub("r1.y", VsConstName(draw.sonic[3]), "r0.w");
        EmitMax("r1.xy", zero, "r1.xy");
        EmitMul(target, "r1.xxx", "r1.yyy");
    }
    if (fog) {
        String target = !specular && !emissive ? "oD1.xyz" : "r6.xyz";
        EmitSub("r0.w", "r2.w", VsConstName(draw.fogStart));
        EmitMax("r0.w", zero, "r0.w");
        EmitMul("r0.w", "r0.w", VsConstName(draw.fogScale));
        if (sonic)
            EmitMad(target, "r0.www", VsConstName(draw.fogColour), "r6.xyz");
        else
            EmitMul(target, "r0.w", VsConstName(draw.fogColour));
        EmitSub("r1.w", VsConstName(draw.one), "r0.w");
    }
    if (specular) {
        String target = !emissive ? "oD1.rgb" : "r6.rgb";
        EmitReflect("r7", n, VsConstName(draw.specularDirections[0]));
        EmitDp3("r7.w", VsConstName(draw.eyeDirection), "r7");
        EmitMax("r7.w", "r7.w", zero);
        EmitMul("r7.w", "r7.w", "r7.w");
        EmitMul("r7.w", "r7.w", "r7.w");
        if (sonic || fog)
            EmitMad(target, "r7.www", VsConstName(draw.specularColours[0]), "r6.xyz");
        else
            EmitMul(target, "r7.www", VsConstName(draw.specularColours[0]));
    }
    if (emissive) {
        if (sonic || fog || specular)
            EmitAdd("oD1.rgb", VsConstName(draw.emissiveLight), "r6.xyz");
        else
            EmitMov("oD1.rgb", VsConstName(draw.emissiveLight));
    }
    EmitDirectionalLights(n);
    if (draw.shadowCount > 0)
        EmitShadowCoordinates(p);
    else
        EmitMov("oD0.a", VsConstName(draw.one));
}

void NormalShaderGen::EmitDirectionalLights(const String& n) {
    static const char* const kLane[4] = {"x", "y", "z", "w"};
    static const char* const kSpread[4] = {"xxx", "yyy", "zzz", "www"};
    static const char* const kFirst[4] = {"x", "xy", "xyz", "xyzw"};
    static const char* const kFogFactor[4] = {"w", "ww", "www", "wwww"};
    const int32_t count = draw.directionalCount;
    if (count == 0) {
        EmitMov("oD0.rgb", VsConstName(draw.ambient));
        return;
    }
    const String normal = n + ".xyz";
    for (int32_t i = 0; i < count; ++i)
        EmitDp3(String("r6.") + kLane[i], normal, VsConstName(draw.directions[i]));
    const String factors = String("r6.") + kFirst[count - 1];
    EmitMax(factors, VsConstName(draw.zero), factors);
    if (draw.fogCount > 0)
        EmitMul(factors, factors, String("r1.") + kFogFactor[count - 1]);
    EmitMul("r0.xyz", "r6.xxx", VsConstName(draw.colours[0]));
    for (int32_t i = 1; i < count; ++i)
        EmitMad("r0.xyz", String("r6.") + kSpread[i], VsConstName(draw.colours[i]), "r0.xyz");
    // Two blanks after the first comma, as the game's text has them.
    EmitAdd("oD0.rgb", " r0.xyz", VsConstName(draw.ambient));
}

void NormalShaderGen::EmitShadowCoordinates(const String& p) {
    EmitM4x4("r2", p, VsConstName(draw.shadowMatrix));
    EmitMov(TextureOutName(draw.materialTextures), "r2");
    if (draw.shadowFlag) {
        EmitMov("oD0.a", "r2.z");
    } else {
        EmitSub("r2.w", "r2.w", VsConstName(draw.shadowStart));
        EmitMul("oD0.a", "r2.w", VsConstName(draw.shadowScale));
    }
}

}  // namespace mareldon
