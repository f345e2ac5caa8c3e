// A small scene drawn on the OpenGL backend (offscreen through Mesa) and checked by
// its pixels: 2D commands through the command list, a view with a layer, generated
// shader text assembled and bound by key, the render states of the generator.
#include <vector>

#include <gtest/gtest.h>

#include "engine/render/draw/DrawCommandList.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/ShaderTextBuilder.h"
#include "tests/engine/render/draw/TestRenderer.h"
#include "tests/game/render/GlDrawTest.h"

namespace mareldon {
namespace {

constexpr int kSize = 64;

// Pre-transformed, coloured vertices; one opaque colour constant scales them.
class FlatGen : public ShaderTextBuilder {
  public:
    using ShaderTextBuilder::ShaderTextBuilder;
    String GetName() override { return "Flat"; }
    bool SetConstants(const RefPtr<RenderView>&, const RefPtr<RenderBatch>&,
                      const RefPtr<MeshPart>& part) override {
        ApplyRenderStates(RenderStateBlock{});
        position = FindInput(part->layout, "TPosition", 0);
        colour = FindInput(part->layout, "Diffuse", 0);
        const float scale[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        scaleConstant = AddConstant(scale);
        return true;
    }
    void BuildVertexShader() override {
        EmitMov(PositionOutName(), position);
        EmitMul(ColourOutName(0), colour, VsConstName(scaleConstant));
    }
    void BuildPixelShader() override { EmitPsMov("r0", "v0"); }

    String position, colour;
    int32_t scaleConstant = 0;
};

class ColourDescriptor : public DrawDescriptor {
  public:
    ColourDescriptor() {
        layout.AddElement(2, "TPosition");
        layout.AddElement(3, "Diffuse");
        layerName = "shadingname";
    }
};

struct Vertex {
    float x, y, z;
    float r, g, b, a;
};

using ViewPixelTest = GlDrawTest;

TEST_F(ViewPixelTest, CommandsDrawThroughGeneratedShadersInKeyOrder) {
    ASSERT_NE(MakeDevice(kSize), nullptr);
    RefPtr<Renderer> renderer = MakeTestRenderer(DeviceHandle());
    RefPtr<FlatGen> flat(new FlatGen(renderer));

    SceneDrawSet set(renderer);
    ClearRecord clear = RenderView::DefaultClear();
    clear.flags = 0x3;
    clear.color = 0xFF000000u;
    RefPtr<RenderView> view(new RenderView(renderer, RefPtr<TextureBase>(device->ScreenTexture()), clear,
                                           RefPtr<ShaderGenBase>(), TextureViewport{}));
    view->AddLayer("shadingname", RefPtr<ShaderGenBase>(flat));
    set.AddView(view);

    ColourDescriptor descriptor;
    // Red over the left half; a blue triangle over the right half, drawn first
    // (higher key), partly under the red where they overlap; a green cover wound the
    // other way, which the generator's culling drops.
    const Vertex red[4] = {{-1, -1, 0.5f, 1, 0, 0, 1},
                           {0, -1, 0.5f, 1, 0, 0, 1},
                           {0, 1, 0.5f, 1, 0, 0, 1},
                           {-1, 1, 0.5f, 1, 0, 0, 1}};
    const Vertex blue[3] = {
        {-0.5f, -1, 0.5f, 0, 0, 1, 1}, {1, -1, 0.5f, 0, 0, 1, 1}, {1, 1, 0.5f, 0, 0, 1, 1}};
    const Vertex green[3] = {
        {-1, -1, 0.5f, 0, 1, 0, 1}, {3, -1, 0.5f, 0, 1, 0, 1}, {-1, 3, 0.5f, 0, 1, 0, 1}};
    for (int frame = 0; frame < 2; ++frame) {
        // Clockwise on screen: counter-clockwise ones are culled.
        set.commands->AddTriangle(1.0f, &descriptor, &red[0], &red[2], &red[1]);
        set.commands->AddTriangle(1.0f, &descriptor, &red[0], &red[3], &red[2]);
        set.commands->AddTriangle(2.0f, &descriptor, &blue[0], &blue[2], &blue[1]);
        set.commands->AddTriangle(3.0f, &descriptor, &green[0], &green[1], &green[2]);
        set.Draw();
    }

    std::vector<uint32_t> pixels = ReadBack();
    ASSERT_EQ(pixels.size(), size_t(kSize * kSize));
    auto at = [&](int x, int y) { return pixels[size_t(y * kSize + x)] & 0xFFFFFFu; };
    EXPECT_EQ(at(8, 32), 0xFF0000u);   // red alone
    EXPECT_EQ(at(28, 60), 0xFF0000u);  // red drawn over blue
    EXPECT_EQ(at(60, 60), 0x0000FFu);  // blue alone, near the bottom right
    EXPECT_EQ(at(40, 4), 0x000000u);   // the clear colour: the green cover is culled
    EXPECT_STREQ(flat->vsKey.Text(), "FlatTPosition:Diffuse:TPosition 0 Diffuse 0 / 4 ");
}

}  // namespace
}  // namespace mareldon
