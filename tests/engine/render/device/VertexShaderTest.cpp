#include "engine/render/device/VertexShader.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/VertexLayout.h"

#include "engine/render/device/PixelShader.h"
#include "tests/engine/render/device/DeviceFixture.h"

namespace mareldon {
namespace {

constexpr const char* kVertexText = "mov\toPos, v0\nmov\toD0, v1\n";
constexpr const char* kPixelText = "mov\tr0, v0\n";

VertexLayout LayoutOf(std::vector<int32_t> types) {
    VertexLayout layout;
    for (int32_t type : types) {
        layout.AddElement(type, "E");
    }
    return layout;
}

TEST(VertexShaderTest, DeclarationHasOneTokenPerElement) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    RefPtr<VertexShader> shader = device.CreateVertexShader(kVertexText, LayoutOf({2, 1}));
    ASSERT_NE(shader->Handle(), 0u);
    EXPECT_EQ(f.Gpu().VertexShaderDeclaration(shader->Handle()),
              (std::vector<uint32_t>{0x20000000, 0x40020000, 0x40010001, 0xFFFFFFFF}));
    std::vector<uint32_t> code = f.Gpu().ShaderCode(shader->Handle());
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.front(), GpuVertexShaderVersion(1, 1));
    EXPECT_EQ(device.Statistics()->liveVertexShaders, 1u);

    f.gpu.ClearCalls();
    device.SetVertexShader(shader);
    device.SetVertexShader(shader);
    EXPECT_EQ(f.gpu.Find("SetVertexShader"),
              std::vector<std::string>{"SetVertexShader(" + std::to_string(shader->Handle()) + ")"});
    shader = RefPtr<VertexShader>();
    EXPECT_EQ(device.Statistics()->liveVertexShaders, 0u);
    EXPECT_EQ(f.Gpu().LiveShaders(), 0u);
}

TEST(VertexShaderTest, ShadersThatCannotBeMadeHaveHandleZero) {
    DeviceFixture f;
    GraphicsDeviceDX& device = f.Make();
    VertexLayout kinds = LayoutOf({2});
    VertexLayout tooMany = LayoutOf(std::vector<int32_t>(255, 3));  // past the 256-token declaration
    VertexLayout mostTokens = LayoutOf(std::vector<int32_t>(254, 3));
    VertexLayout allInputs = LayoutOf(std::vector<int32_t>(16, 3));
    VertexLayout pastInputs = LayoutOf(std::vector<int32_t>(17, 3));  // vs.1.1 has v0-v15
    VertexLayout packedColour = LayoutOf({2, 4});
    struct Case {
        const char* text;
        const VertexLayout& kinds;
        bool made;
    } cases[] = {
        {"", kinds, false},
        {"frob\tr0, v0\n", kinds, false},  // unknown opcode
        {"mov\toPos, r99\n", kinds, false},
        {kVertexText, tooMany, false},
        {kVertexText, mostTokens, false},  // fits the declaration, but the device refuses v16 and up
        {kVertexText, allInputs, true},
        {kVertexText, pastInputs, false},
        {kVertexText, packedColour, true},
    };
    for (const Case& c : cases) {
        RefPtr<VertexShader> shader = device.CreateVertexShader(c.text, c.kinds);
        EXPECT_EQ(shader->Handle() != 0, c.made) << c.text << " " << c.kinds.Count();
    }
    EXPECT_EQ(device.CreatePixelShader("")->Handle(), 0u);
    EXPECT_EQ(device.CreatePixelShader("tex\tt9\n")->Handle(), 0u);
    EXPECT_EQ(device.Statistics()->liveVertexShaders, 0u);
    EXPECT_EQ(device.Statistics()->livePixelShaders, 0u);
    // Only the declarations within the token limit reach the device.
    EXPECT_EQ(f.gpu.Count("CreateVertexShader("), 4u);
    EXPECT_EQ(f.gpu.Count("CreateVertexShader(0) = 0"), 2u);

    RefPtr<PixelShader> pixel = device.CreatePixelShader(kPixelText);
    EXPECT_NE(pixel->Handle(), 0u);
    EXPECT_EQ(f.Gpu().ShaderCode(pixel->Handle()).front(), GpuPixelShaderVersion(1, 1));
    EXPECT_EQ(device.Statistics()->livePixelShaders, 1u);
}

TEST(VertexShaderTest, OldDevicesGetNoShaders) {
    DeviceFixture f;
    f.gpu.config.caps.VertexShaderVersion = GpuVertexShaderVersion(1, 0);
    f.gpu.config.caps.PixelShaderVersion = GpuPixelShaderVersion(1, 0);
    GraphicsDeviceDX& device = f.Make();
    EXPECT_EQ(device.CreateVertexShader(kVertexText, LayoutOf({2}))->Handle(), 0u);
    EXPECT_EQ(device.CreatePixelShader(kPixelText)->Handle(), 0u);
    EXPECT_EQ(f.gpu.Count("CreateVertexShader("), 0u);
}

}  // namespace
}  // namespace mareldon
