#include "engine/render/draw/Renderer.h"

#include <gtest/gtest.h>

#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/RenderBatch.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

int EntryCount(const NamedNode& dictionary) {
    int count = 0;
    for (const NamedNode* entry = dictionary.NextEntry(); entry != &dictionary; entry = entry->NextEntry()) {
        ++count;
    }
    return count;
}

class RendererTest : public testing::Test {
  protected:
    RendererTest() : files(new MemoryFileSystem()), device(&gpu.Make(), [](GraphicsDevice*) {}) {}

    std::unique_ptr<Renderer> Make() {
        return std::make_unique<Renderer>(RefPtr<FileSystem>(files), device, RefPtr<SoundBox>(), "MARELDON");
    }

    RefPtr<MemoryFileSystem> files;
    DeviceFixture gpu;
    RefPtr<GraphicsDevice> device;  // owned by the fixture
};

TEST_F(RendererTest, ShaderDataFilesFillTheDictionaries) {
    files->files["QVDSHDV.dat"] = MakeSampleVertexShaderData();
    files->files["QVDSHDP.dat"] = MakeSamplePixelShaderData();
    std::unique_ptr<Renderer> renderer = Make();
    EXPECT_EQ(EntryCount(renderer->VertexShaders()), 2);
    EXPECT_EQ(EntryCount(renderer->PixelShaders()), 2);
    EXPECT_TRUE(renderer->FindVertexShader("Plain"));
    RefPtr<VertexShader> normal = renderer->FindVertexShader("NormalPosition:Normal:");
    ASSERT_TRUE(normal);
    EXPECT_TRUE(renderer->FindPixelShader("NormalSetMatTex 1 [L] "));
    EXPECT_FALSE(renderer->FindPixelShader("Normal"));
    EXPECT_TRUE(renderer->Name().Equals("MARELDON"));
    // Two elements of type 2 (three floats): registers v0 and v1.
    EXPECT_EQ(gpu.Gpu().VertexShaderDeclaration(normal->Handle()).size(), 4u);
}

TEST_F(RendererTest, MissingEmptyAndTruncatedFiles) {
    std::unique_ptr<Renderer> none = Make();
    EXPECT_EQ(EntryCount(none->VertexShaders()), 0);
    EXPECT_EQ(EntryCount(none->PixelShaders()), 0);

    files->files["QVDSHDV.dat"] = {};
    std::vector<uint8_t> cut = MakeSamplePixelShaderData();
    cut.resize(cut.size() - 5);
    files->files["QVDSHDP.dat"] = cut;
    std::unique_ptr<Renderer> renderer = Make();
    EXPECT_EQ(EntryCount(renderer->VertexShaders()), 0);
    EXPECT_EQ(EntryCount(renderer->PixelShaders()), 1);
    EXPECT_TRUE(renderer->FindPixelShader("Plain"));
    EXPECT_EQ(files->opens, files->closes);
}

TEST_F(RendererTest, AShaderThatFailsIsReplacedNotAddedAgain) {
    std::unique_ptr<Renderer> renderer = Make();
    VertexLayout layout;
    layout.AddElement(2, "Position");
    for (int i = 0; i < 3; ++i) {
        RefPtr<VertexShader> failed =
            renderer->CreateVertexShader("Broken Position:", "not a shader", layout);
        EXPECT_EQ(failed->Handle(), 0u);
        renderer->CreatePixelShader("Broken ", "");
    }
    EXPECT_EQ(EntryCount(renderer->VertexShaders()), 1);
    EXPECT_EQ(EntryCount(renderer->PixelShaders()), 1);
    RefPtr<VertexShader> made = renderer->CreateVertexShader("Broken Position:", "mov\toPos, v0\n", layout);
    EXPECT_NE(made->Handle(), 0u);
    EXPECT_EQ(renderer->FindVertexShader("Broken Position:").Get(), made.Get());
    EXPECT_EQ(EntryCount(renderer->VertexShaders()), 1);
}

TEST_F(RendererTest, NamedTextures) {
    std::unique_ptr<Renderer> renderer = Make();
    EXPECT_FALSE(renderer->FindNamedTexture("missing"));
    RefPtr<Texture> made = renderer->CreateNamedTexture("F24", kTextureSampled, 512, 512);
    ASSERT_TRUE(made);
    EXPECT_EQ(renderer->FindNamedTexture("F24").Get(), made.Get());
    EXPECT_EQ(made->Width(), 512);
    EXPECT_EQ(renderer->GetDevice().Get(), device.Get());
    EXPECT_FALSE(renderer->GetSoundBox());
}

TEST_F(RendererTest, CollectorsAreMatchedByMeshData) {
    std::unique_ptr<Renderer> renderer = Make();
    MeshData first, second;
    auto batchOver = [](MeshData* mesh) {
        RefPtr<RenderBatch> batch(new RenderBatch(1, 0, 0));
        batch->meshData = mesh;
        return batch;
    };
    RefPtr<RenderBatch> a = batchOver(&first);
    RefPtr<RenderBatch> b = batchOver(&first);
    RefPtr<RenderBatch> c = batchOver(&second);
    EXPECT_EQ(renderer->RegisterBatch(a).Get(), a.Get());
    EXPECT_EQ(renderer->RegisterBatch(b).Get(), a.Get());
    EXPECT_EQ(renderer->RegisterBatch(c).Get(), c.Get());
    ASSERT_EQ(renderer->CollectorCount(), 2);
    EXPECT_EQ(renderer->CollectorUses(0), 2);
    renderer->UnregisterBatch(b);
    EXPECT_EQ(renderer->CollectorCount(), 2);
    renderer->UnregisterBatch(a);
    ASSERT_EQ(renderer->CollectorCount(), 1);
    EXPECT_EQ(renderer->CollectorAt(0).Get(), c.Get());
    renderer->UnregisterBatch(a);
    EXPECT_EQ(renderer->CollectorCount(), 1);

    // Batches built by code have no mesh data: never registered, never matched.
    RefPtr<RenderBatch> code1 = batchOver(nullptr);
    RefPtr<RenderBatch> code2 = batchOver(nullptr);
    EXPECT_EQ(renderer->RegisterBatch(code1).Get(), code1.Get());
    EXPECT_EQ(renderer->RegisterBatch(code2).Get(), code2.Get());
    EXPECT_EQ(renderer->CollectorCount(), 1);
    EXPECT_EQ(renderer->Lights().Count(), 0);
}

}  // namespace
}  // namespace mareldon
