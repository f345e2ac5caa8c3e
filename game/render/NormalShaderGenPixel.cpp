// The "Normal" generator's pixel text: v0 and v1 are the vertex colours, t0 the first
// material texture, tk the shadow map at the stage after the material textures.
#include "game/render/NormalShaderGen.h"

namespace mareldon {

void NormalShaderGen::BuildPixelShader() {
    EmitPixelShader(draw.unlit);
}

void NormalShaderGen::EmitPixelShader(bool unlitForm) {
    const bool textured = draw.materialTextures > 0;
    const String alpha = PsConstName(draw.alpha) + ".a";
    if (unlitForm) {
        if (!textured) {
            EmitPsMov("r0", "v0");
            return;
        }
        EmitRaw("tex\tt0");
        EmitPsMulSat("r0.rgba", "v0.rgba", "t0.rgba");
        EmitPsMul("r0.a", "r0.a", alpha);
        return;
    }
    if (draw.shadowCount > 0) {
        // Where the depth from the light, less the bias, lies beyond the stored depth,
        // the shadow colour is added (a negative colour darkens).
        const String shadowMap = MakeRegisterName("t", draw.materialTextures);
        EmitRaw("tex\tt0");
        if (textured) {
            EmitRaw("tex\t" + shadowMap);
            EmitPsMulSat("r1", "v0", "t0");
        }
        EmitPsSub("r0", "v0", PsConstName(draw.shadowBias) + ".a");
        EmitPsSub("r0", "r0", shadowMap + "_bias");
        EmitPsCnd("r0", "r0.a", PsConstName(draw.shadowColour), PsConstName(draw.alpha));
        EmitPsAdd("r0.rgb", textured ? "r1" : "v0", "r0");
        if (draw.addLight)
            EmitPsAdd("r0.rgb", "r0", "v1");
        if (textured)
            EmitPsCoMul("r0.a", "t0.a", alpha);
        else
            EmitPsCoMov("r0.a", alpha);
        return;
    }
    if (!textured) {
        if (draw.addLight)
            EmitPsAdd("r0", "v0", "v1");
        else
            EmitPsMov("r0", "v0");
        return;
    }
    EmitRaw("tex\tt0");
    if (draw.addLight)
        EmitPsMadSat("r0.rgb", "v0", "t0", "v1");
    else
        EmitPsMulSat("r0.rgb", "v0", "t0");
    EmitPsCoMul("r0.a", "t0.a", alpha);
}

}  // namespace mareldon
