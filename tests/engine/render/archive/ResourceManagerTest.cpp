#include "engine/render/archive/ResourceManager.h"

#include <gtest/gtest.h>

#include <bit>

#include "engine/core/Cp932.h"
#include "engine/platform/MessageBox.h"
#include "engine/render/archive/ResourceProxy.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/engine/render/device/DeviceFixture.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/ArchiveRecords.h"
#include "tools/archive/MbdWriter.h"

namespace mareldon {
namespace {

class MessageLog : public MessageBoxPresenter {
  public:
    void ShowMessageBox(const char* caption, const char* text) override {
        shown.push_back(Cp932ToUtf8(caption) + "|" + Cp932ToUtf8(text));
    }
    std::vector<std::string> shown;
};

class ResourceManagerTest : public testing::Test {
  protected:
    ResourceManagerTest()
        : files(new MemoryFileSystem()),
          sounds(new RecordingSoundBox()),
          device(&gpu.Make(), [](GraphicsDevice*) {}),
          manager(RefPtr<FileSystem>(files), device, RefPtr<SoundBox>(sounds), &messages) {}

    const DeviceStatistics& Stats() { return *device->Statistics(); }

    bool Load(const std::vector<uint8_t>& archive) {
        files->files["MARELDON.mbd"] = archive;
        return manager.LoadArchive("MARELDON.mbd");
    }

    void ExpectEmpty() {
        EXPECT_EQ(manager.ModelCount(), 0);
        EXPECT_EQ(manager.SpriteCount(), 0);
        EXPECT_EQ(manager.FontCount(), 0);
        EXPECT_EQ(manager.SoundCount(), 0);
        EXPECT_EQ(manager.ImageSlotCount(), 0);
        EXPECT_EQ(manager.SoundSlotCount(), 0);
        EXPECT_EQ(manager.GroupCount(), 0);
        EXPECT_FALSE(manager.FindModel("scene"));
        EXPECT_FALSE(manager.FindSprite("sheet"));
        EXPECT_FALSE(manager.FindFont("F24"));
        EXPECT_FALSE(manager.AcquireSound(0));
    }

    MessageLog messages;
    RefPtr<MemoryFileSystem> files;
    RefPtr<RecordingSoundBox> sounds;
    DeviceFixture gpu;
    RefPtr<GraphicsDevice> device;  // owned by the fixture
    ResourceManager manager;
};

const char* const kUnreadable = "これは致命的！|MARELDON.mbd が読み込めません!";

TEST_F(ResourceManagerTest, EmptyArchiveLoadsWithEveryListEmpty) {
    EXPECT_TRUE(Load(MakeEmptyArchive()));
    ExpectEmpty();
    gpu.gpu.ClearCalls();
    manager.BuildModels(*device);
    EXPECT_TRUE(gpu.gpu.Calls().empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(files->opens, files->closes);
}

TEST_F(ResourceManagerTest, PaddingArchiveLoads) {
    ASSERT_TRUE(Load(MakePaddingArchive()));
    ASSERT_EQ(manager.SoundCount(), 1);
    EXPECT_TRUE(manager.SoundAt(0)->name.Equals("abcd"));
    EXPECT_EQ(manager.FindSoundIndex("abcd"), 0);
    RefPtr<SoundBuffer> sound = manager.AcquireSound(0);
    EXPECT_TRUE(sound);
    ASSERT_EQ(sounds->created.size(), 1u);
    EXPECT_EQ(sounds->created[0].samples, (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(ResourceManagerTest, MissingArchiveShowsTheMessageAndRunsOn) {
    EXPECT_FALSE(manager.LoadArchive("MARELDON.mbd"));
    EXPECT_EQ(messages.shown, std::vector<std::string>{kUnreadable});
    EXPECT_EQ(files->closes, 1);
    ExpectEmpty();
}

TEST_F(ResourceManagerTest, DamagedArchivesAreRefusedAndLeaveNothingBehind) {
    std::vector<uint8_t> sample = MakeSampleArchive();
    std::vector<uint8_t> cut(sample.begin(), sample.begin() + 5000);
    std::vector<uint8_t> shortBody = sample;
    // A body that claims to run to the very end: the image slots now overlap it.
    const uint32_t claimed = uint32_t(sample.size() - 8);
    for (int i = 0; i < 4; ++i) {
        shortBody[size_t(i)] = uint8_t(claimed >> (8 * i));
    }
    MbdWriter deep;
    deep.AddVertexArrayWords(0, {});
    for (const auto& damaged : {cut, shortBody, deep.Build(), std::vector<uint8_t>{1, 2, 3}}) {
        ASSERT_TRUE(Load(sample));
        messages.shown.clear();
        EXPECT_FALSE(Load(damaged));
        EXPECT_EQ(messages.shown, std::vector<std::string>{kUnreadable});
        ExpectEmpty();
    }
    EXPECT_EQ(files->opens, files->closes);
}

TEST_F(ResourceManagerTest, NamesFindTheirEntriesAndMissingNamesTheFirst) {
    ASSERT_TRUE(Load(MakeSampleArchive()));
    EXPECT_EQ(manager.ModelCount(), 2);
    EXPECT_TRUE(manager.FindModel("instanced")->name->Equals("instanced"));
    EXPECT_TRUE(manager.FindModel("missing")->name->Equals("scene"));
    EXPECT_TRUE(manager.FindSprite("sheet")->name->Equals("sheet"));
    EXPECT_TRUE(manager.FindSprite("missing")->name->Equals("sheet"));
    EXPECT_EQ(manager.FindFontIndex("F24"), 0);
    EXPECT_EQ(manager.FindFontIndex("F2"), -1);
    RefPtr<FontData> font = manager.FindFont("missing");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->glyphWidth, 24);
    EXPECT_EQ(font->offsetTable->words.size(), 65536u);
    EXPECT_EQ(manager.SoundCount(), 2);
    EXPECT_EQ(manager.FindSoundIndex("bgm_title"), 1);
    EXPECT_EQ(manager.FindSoundIndex("se_sho"), -1);
    EXPECT_TRUE(manager.SoundAt(0)->name.Equals("se_shot"));
    EXPECT_EQ(manager.SoundAt(2), nullptr);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ResourceManagerTest, SoundsLoadOnFirstUseAndAreDroppedAfterwards) {
    std::vector<uint8_t> archive = MakeSampleArchive();
    ASSERT_TRUE(Load(archive));
    const uint32_t soundBase = uint32_t(archive[4]) | uint32_t(archive[5]) << 8 | uint32_t(archive[6]) << 16 |
                               uint32_t(archive[7]) << 24;
    const int opens = files->opens;
    RefPtr<SoundBuffer> shot = manager.AcquireSound(manager.FindSoundIndex("se_shot"));
    ASSERT_TRUE(shot);
    ASSERT_EQ(sounds->created.size(), 1u);
    const RecordingSoundBox::Created& made = sounds->created[0];
    EXPECT_EQ(made.bits, 16);
    EXPECT_EQ(made.rate, 22050);
    EXPECT_EQ(made.channels, 1);
    EXPECT_EQ(made.samples.size(), 882u);
    EXPECT_EQ(files->seeks.back(), 8 + soundBase);
    // Nobody holds the slot: it is empty again, and the next request reads anew.
    EXPECT_FALSE(manager.SoundSlotAt(0).sound);
    EXPECT_EQ(manager.SoundSlotAt(0).useCount, 0);
    RefPtr<SoundBuffer> again = manager.AcquireSound(0);
    EXPECT_NE(again.Get(), shot.Get());
    EXPECT_EQ(files->opens, opens + 2);
    // Out of range means the first sound name.
    manager.AcquireSound(7);
    EXPECT_EQ(sounds->created.back().rate, 22050);
}

TEST_F(ResourceManagerTest, GroupsCountTheirUsers) {
    ASSERT_TRUE(Load(MakeSampleArchive()));
    const int groups = manager.GroupCount();
    ResourceGroup& made = manager.FindGroup("X");
    EXPECT_EQ(&manager.FindGroup("X"), &made);
    EXPECT_EQ(manager.GroupCount(), groups + 1);
    manager.LoadGroup("X");
    manager.UnloadGroup("X");

    const int opens = files->opens;
    manager.LoadGroup("SYSTEMSE");
    manager.LoadGroup("SYSTEMSE");
    EXPECT_EQ(files->opens, opens + 1);
    // A held slot is shared, not read again.
    RefPtr<SoundBuffer> held = manager.AcquireSound(0);
    EXPECT_EQ(held.Get(), manager.SoundSlotAt(0).sound.Get());
    EXPECT_EQ(files->opens, opens + 1);
    manager.UnloadGroup("SYSTEMSE");
    EXPECT_EQ(manager.SoundSlotAt(0).useCount, 1);
    EXPECT_TRUE(manager.SoundSlotAt(0).sound);
    manager.UnloadGroup("SYSTEMSE");
    EXPECT_FALSE(manager.SoundSlotAt(0).sound);
    // One unload too many leaves the count at 0, so loading reads again.
    manager.UnloadGroup("SYSTEMSE");
    EXPECT_EQ(manager.SoundSlotAt(0).useCount, 0);
    manager.LoadGroup("SYSTEMSE");
    EXPECT_EQ(files->opens, opens + 2);
    EXPECT_TRUE(manager.SoundSlotAt(0).sound);
}

TEST_F(ResourceManagerTest, SoundRecordLongerThanItsSlotIsRefused) {
    MbdWriter writer;
    std::vector<uint8_t> record = EncodeSoundRecord({1, 2, 3, 4}, 8, 8000, 1);
    record[0] = 200;  // more PCM bytes than the slot holds
    writer.AddSoundName("bad", writer.AddSound(record));
    ASSERT_TRUE(Load(writer.Build()));
    EXPECT_FALSE(manager.AcquireSound(0));
    EXPECT_TRUE(sounds->created.empty());
    EXPECT_EQ(messages.shown, std::vector<std::string>{kUnreadable});
    EXPECT_FALSE(manager.SoundSlotAt(0).sound);
}

TEST_F(ResourceManagerTest, BuildModelsMakesEachBufferOnce) {
    ASSERT_TRUE(Load(MakeSampleArchive()));
    manager.BuildModels(*device);
    EXPECT_EQ(Stats().liveVertexBuffers, 2u);
    EXPECT_EQ(Stats().liveIndexBuffers, 2u);
    const MeshPartData& part = *manager.FindModel("scene")->root->children[0]->children[0]->mesh->parts[0];
    ASSERT_TRUE(part.geometry);
    EXPECT_EQ(part.geometry->PrimitiveCount(), 2);
    EXPECT_EQ(part.layout.Count(), 3);
    EXPECT_EQ(part.layout.Stride(), 32);
    // The words are those of the body (vertex v, word w holds v + w / 100).
    EXPECT_EQ(std::bit_cast<float>(part.vertices->words[8 + 1]), 1.01f);
    EXPECT_EQ(part.indices->words, (SharedWords{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(manager.FindFont("F24")->offsetTable->words['B'] >> 24, 12u);
    const MeshPartData& wide = *manager.FindModel("instanced")->root->children[0]->mesh->parts[0];
    EXPECT_EQ(wide.layout.Count(), 5);
    RefPtr<GeometryBuffer> built = part.geometry;
    manager.BuildModels(*device);
    EXPECT_EQ(part.geometry.Get(), built.Get());
    EXPECT_EQ(Stats().liveVertexBuffers, 2u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ResourceManagerTest, ImagesLoadOnFirstUseAndGroupsShareThem) {
    std::vector<uint8_t> archive = MakeSampleArchive();
    ASSERT_TRUE(Load(archive));
    const uint32_t bodySize = uint32_t(archive[0]) | uint32_t(archive[1]) << 8 | uint32_t(archive[2]) << 16 |
                              uint32_t(archive[3]) << 24;
    const int opens = files->opens;
    manager.LoadImage(0);
    manager.LoadImage(0);
    EXPECT_EQ(files->opens, opens + 1);
    EXPECT_EQ(files->seeks.back(), 8 + bodySize);
    EXPECT_EQ(manager.ImageSlotAt(0).useCount, 2);
    EXPECT_EQ(manager.ImageSlotAt(0).texture->Width(), 16);

    // The sheet's image is held by no group: each request reads it anew and the
    // slot stays empty.
    RefPtr<SpriteEntry> sheet = manager.FindSprite("sheet");
    RefPtr<ResourceProxy> first = sheet->GetTexture(manager);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Width(), 32);
    EXPECT_FALSE(manager.ImageSlotAt(1).texture);
    EXPECT_EQ(files->opens, opens + 2);

    manager.LoadGroup("SYSTEM");
    const int held = files->opens;
    RefPtr<ResourceProxy> a = sheet->GetTexture(manager);
    RefPtr<ResourceProxy> b = sheet->GetTexture(manager);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(files->opens, held);
    const MeshPartData& part = *manager.FindModel("scene")->root->children[0]->children[0]->mesh->parts[0];
    EXPECT_EQ(part.textures[0].GetTexture(manager).Get(), manager.ImageSlotAt(0).texture.Get());
    manager.UnloadGroup("SYSTEM");
    EXPECT_FALSE(manager.ImageSlotAt(1).texture);
    EXPECT_EQ(manager.ImageSlotAt(0).useCount, 2);
    EXPECT_FALSE(manager.AcquireImage(9));
}

TEST_F(ResourceManagerTest, FailedImageReadLeavesTheSlotEmpty) {
    std::vector<uint8_t> archive = MakeSampleArchive();
    ASSERT_TRUE(Load(archive));
    // The file shrinks behind the program's back.
    files->files["MARELDON.mbd"].resize(archive.size() / 2);
    EXPECT_FALSE(manager.AcquireImage(0));
    EXPECT_EQ(messages.shown, std::vector<std::string>{kUnreadable});
    EXPECT_EQ(manager.ImageSlotAt(0).useCount, 0);
    files->files.clear();
    manager.LoadImage(1);
    EXPECT_FALSE(manager.ImageSlotAt(1).texture);
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(ResourceManagerTest, BootArchiveHoldsWhatTheGameAsksFor) {
    ASSERT_TRUE(Load(MakeBootArchive()));
    manager.BuildModels(*device);
    // A stage model for every stage id, the muzzle flash, eight items, two pickup
    // captions, four bombers, four ships, four pods, the ship's explosion, the guns'
    // five muzzle flashes and the shots' five hit effects; six sheet effects, four
    // reflect fields, two reflect flashes and a scorch decal; the ship select's four
    // ships; the stage-1 boss's broken model, four weapon models and its big blast; the
    // nine wrecks of the towers, the big guns and the train, the largest explosion, the
    // destroyer's wreck, the stage-2 and stage-3 bosses' broken models, the stage-4 boss's
    // broken model, head model and blast, and the stage-5 boss's two motion models and its
    // blast.
    EXPECT_EQ(manager.ModelCount(), 89);
    for (const char* name :
         {"tou_001b", "nozule_k", "mg_04rail_metalB_k", "EXPLOSION_LLG01", "la_kuchiku_k", "ba02_cyou_koware",
          "ba_04kao_k", "Boss4Head", "EXPLOSION_S4BOSS", "ba_05_1madara1top_box_motion"})
        EXPECT_TRUE(manager.HasModel(name)) << name;
    EXPECT_TRUE(manager.HasModel("ship3"));
    EXPECT_TRUE(manager.HasModel("ba_01zenyoku_koware"));
    EXPECT_TRUE(manager.HasModel("bg_03big_spider_koware"));
    EXPECT_TRUE(manager.HasModel("sel_p03_fix"));
    EXPECT_TRUE(manager.HasModel("sel_p00_podonly"));
    EXPECT_TRUE(manager.HasModel("TEKIDAN_HATSYA01"));
    for (const char* name : {"BONUS_POWER", "BONUS_SR2", "POWER_font", "FORCE_font", "pl00_bomber",
                             "pl03_bomber", "EXPLOSION_ita_LA01", "EFECTS_KEMURI_01", "refrect_force_03",
                             "REFLECT_KAIFUKU", "chijyou_bakha_ato4_0"})
        EXPECT_TRUE(manager.HasModel(name)) << name;
    EXPECT_FALSE(manager.HasModel("STAGE_NONE"));
    EXPECT_TRUE(manager.FindModel("VOLCANO")->name->Equals("VOLCANO"));
    EXPECT_TRUE(manager.FindModel("STAGE_MU2")->name->Equals("STAGE_MU2"));
    // The credit overlay's 13 sprites and the play screen's 19 credit prompts.
    EXPECT_EQ(manager.FindSprite("systemimage")->frames.size(), 32u);
    EXPECT_EQ(manager.FindFont("F24")->glyphHeight, 24);
    EXPECT_GE(manager.FindSoundIndex("vosk1_se50"), 0);
    EXPECT_GE(manager.FindSoundIndex("moviest"), 0);
    const int groups = manager.GroupCount();
    EXPECT_EQ(groups, 13);
    manager.FindGroup(Utf8ToCp932("STAGE06_果").c_str());
    EXPECT_EQ(manager.GroupCount(), groups);
    for (const char* bank : {"SYSTEM", "SYSTEMSE", "SYSTEMBGM"}) {
        manager.LoadGroup(bank);
    }
    EXPECT_EQ(manager.ImageSlotAt(0).texture->Width(), 256);
    EXPECT_TRUE(manager.AcquireSound(manager.FindSoundIndex("title")));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace mareldon
