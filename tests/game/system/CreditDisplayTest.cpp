#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/screens/SystemErrorScreen.h"
#include "game/system/GameSystem.h"
#include "tests/game/system/ServicesFixture.h"

namespace mareldon {
namespace {

using testing::ElementsAre;

class CreditDisplayTest : public testing::Test, public ServicesFixture {
  protected:
    // One step with these buttons on the first system input, logged as
    // "credits C/U[ se6][ sprite@x,y...]": the credits and coin units, whether
    // the coin chime started, and what the overlay shows on a 480-pixel screen.
    std::string StepWith(uint32_t pressed, uint32_t held = 0, uint32_t released = 0) {
        inputs.masks[0] = ButtonSet{held, pressed, pressed, released};
        TakeLog();
        const bool alive = Step();
        inputs.masks[0] = ButtonSet{};
        if (!alive) {
            return "ended";
        }
        std::string line =
            "credits " + std::to_string(system->GetCredits()) + "/" + std::to_string(system->GetCoinUnits());
        for (const std::string& sound : TakeLog()) {
            if (sound == "play " + std::to_string(Buffer(6))) {
                line += " se6";
            }
        }
        line += Overlay();
        return line;
    }
    std::string Overlay() const {
        GameSystem::OverlaySprite sprites[2];
        std::string line;
        const int count = system->CollectOverlay(480.0f, sprites);
        for (int i = 0; i < count; ++i) {
            char text[64];
            std::snprintf(text, sizeof text, " %s@%g,%g", GameSystem::OverlaySpriteName(sprites[i].sprite),
                          sprites[i].x, sprites[i].y);
            line += text;
        }
        return line;
    }
};

TEST_F(CreditDisplayTest, CoinAndServiceReleaseGiveCreditsAndTheChime) {
    StartLoaded();
    ASSERT_TRUE(RunUntil("logo1"));
    EXPECT_EQ(StepWith(0), "credits 0/0");
    EXPECT_EQ(StepWith(SystemButton::kCoin), "credits 1/1 se6 credit@241,625 1016_Coin_kazu_1@288,625");
    // Held service gives nothing until it is let go; the chime is guarded for two steps.
    EXPECT_EQ(StepWith(0, SystemButton::kService), "credits 1/1 credit@241,625 1016_Coin_kazu_1@288,625");
    EXPECT_EQ(StepWith(0, 0, SystemButton::kService),
              "credits 2/2 se6 credit@241,625 1016_Coin_kazu_2@288,625");
    // The overlay stays for 180 steps after the last coin.
    for (int i = 0; i < 178; ++i) {
        Step();
    }
    EXPECT_EQ(StepWith(0), "credits 2/2 credit@241,625 1016_Coin_kazu_2@288,625");
    EXPECT_EQ(StepWith(0), "credits 2/2");
}

TEST_F(CreditDisplayTest, ServiceCountsOneCoinUnlessContinueCoinIs10) {
    OperatingSettings rules;
    rules.coins = 2;
    rules.continueCoins = 2;
    Start().StoreOperatingSettings(rules);
    StartLoaded();
    ASSERT_TRUE(RunUntil("logo1"));
    EXPECT_EQ(StepWith(0, 0, SystemButton::kService),
              "credits 0/1 se6 credit@241,625 1016_Coin_kazu_0@288,625");
}

TEST_F(CreditDisplayTest, TestModeIgnoresCoinServiceTestAndCoinErrorButNotIoError) {
    StartLoaded();
    ASSERT_TRUE(RunUntil("logo1"));
    // The test mode stand-in stays.
    PlaceholderScreen::stepsToRun = 100000;
    EXPECT_EQ(StepWith(SystemButton::kTest), "credits 0/0");
    EXPECT_EQ(system->GetCurrentSceneName(), "testmode");
    EXPECT_EQ(StepWith(SystemButton::kCoin), "credits 0/0");
    EXPECT_EQ(StepWith(0, 0, SystemButton::kService), "credits 0/0");
    EXPECT_EQ(StepWith(SystemButton::kTest), "credits 0/0");
    EXPECT_EQ(StepWith(0, SystemButton::kCoinError), "credits 0/0");
    EXPECT_EQ(system->GetCurrentSceneName(), "testmode");
    EXPECT_EQ(StepWith(0, SystemButton::kIoError), "credits 0/0");
    EXPECT_EQ(system->GetCurrentSceneName(), "i/oerror");
    EXPECT_EQ(Built().back(), "SystemErrorScreen i/oerror quit I/O ERROR 0");
    // An error screen stops the watch: no coin counts, no overlay.
    EXPECT_EQ(StepWith(SystemButton::kCoin), "credits 0/0");
}

TEST_F(CreditDisplayTest, CoinErrorOutsideTestModeBuildsTheErrorScene) {
    StartLoaded();
    ASSERT_TRUE(RunUntil("logo1"));
    EXPECT_EQ(StepWith(0, SystemButton::kCoinError), "credits 0/0");
    EXPECT_EQ(system->GetCurrentSceneName(), "coinerror");
    EXPECT_TRUE(system->IsErrorShown());
}

TEST_F(CreditDisplayTest, OverlayShowsWhatThePlayersAndRulesCallFor) {
    StartLoaded();
    ASSERT_TRUE(RunUntil("logo1"));
    // More than nine credits never show.
    system->ForceCreditsForTest(12);
    system->StartAttentionTimer();
    EXPECT_EQ(Overlay(), " credit@241,625 1016_Coin_kazu_9@288,625");
    system->ForceCreditsForTest(1);
    // A player who may continue without a further coin: nothing, unless one waits (9 to 11).
    system->GetPlayer(1).playCount = 1;
    EXPECT_EQ(system->GetPlayerStatus(1), 8);
    EXPECT_EQ(Overlay(), "");
    system->GetPlayerFlags(1)[1] = 1;
    EXPECT_EQ(system->GetPlayerStatus(1), 11);
    EXPECT_EQ(Overlay(), " Enjoy@241,625");
}

TEST_F(CreditDisplayTest, FreePlayShowsAlwaysInTheAttractLoopExceptInNoticeAndBoot) {
    OperatingSettings rules;
    rules.playMode = 1;
    Start().StoreOperatingSettings(rules);
    StartLoaded();
    ASSERT_EQ(system->GetCurrentSceneName(), "boot");
    EXPECT_EQ(Overlay(), "");
    ASSERT_TRUE(RunUntil("notice"));
    EXPECT_EQ(Overlay(), "");
    ASSERT_TRUE(RunUntil("logo1"));
    EXPECT_EQ(system->GetAttentionTimer(), 0);
    EXPECT_EQ(Overlay(), " FreePlay_002@241,625");
}

TEST_F(CreditDisplayTest, RotationAndWindowKeys) {
    StartLoaded();
    GraphicsDevice& device = *root.graphicsDevice;
    ASSERT_EQ(device.GetRotation(), 3);
    const int windowed = device.IsWindowed();
    struct Row {
        uint32_t key;
        int rotation;
        bool toggled;
    } rows[] = {{SystemButton::kTurnLeft, 2, false},    {SystemButton::kTurnRight, 3, false},
                {SystemButton::kTurnRight, 0, false},   {SystemButton::kTurnLeft, 3, false},
                {SystemButton::kWindowToggle, 3, true}, {SystemButton::kWindowToggle, 3, false}};
    for (const Row& row : rows) {
        StepWith(row.key);
        EXPECT_EQ(device.GetRotation(), row.rotation);
        EXPECT_EQ((device.IsWindowed() != 0) != (windowed != 0), row.toggled);
    }
}

TEST_F(CreditDisplayTest, ViewportsFollowTheHooks) {
    root.screenTarget.Reset(new ResourceProxy(root.graphicsDevice->ScreenTexture()));
    StartLoaded();
    TextureBase& screen = *root.screenTarget;
    system->SetScreenViewport();
    EXPECT_EQ(screen.GetViewport()->width, 480);
    EXPECT_EQ(screen.GetViewport()->height, 640);
    system->SetFullViewport();
    EXPECT_EQ(screen.GetViewport()->width, screen.Width());
    EXPECT_EQ(screen.GetViewport()->height, screen.Height());
    root.screenTarget.Reset();
}

}  // namespace
}  // namespace mareldon
