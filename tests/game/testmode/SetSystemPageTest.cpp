#include "game/testmode/SetSystemPage.h"

#include <gtest/gtest.h>

#include "game/system/GameSystem.h"
#include "game/testmode/TestModeTexts.h"
#include "tests/game/testmode/TestModeFixture.h"

namespace mareldon {
namespace {

using namespace TestModeTexts;

class SetSystemPageTest : public testing::Test, public TestModeFixture {
  protected:
    SetSystemPage* Open(const OperatingSettings& live) {
        EnterTestMode();
        system->StoreOperatingSettings(live);
        OpenEntry(3);
        return Opened<SetSystemPage>();
    }
    // Moves the cursor to `line` from line 0.
    void Down(int lines) {
        for (int i = 0; i < lines; ++i) {
            Tap(Key::kDown);
        }
    }
    int Price(SetSystemPage* page) const { return page->Lines()[SetSystemPage::kContinueCoins].value; }
};

TEST_F(SetSystemPageTest, ContinuePriceStepsBelowTheCoinPriceOrIsTheSame) {
    struct Case {
        OperatingSettings live;
        uint32_t key;
        std::vector<int> prices;
    } cases[] = {
        {{0, 3, 1, 1, 1, 1}, Key::kRight, {2, 10, 1, 2}},
        {{0, 3, 1, 1, 1, 1}, Key::kLeft, {10, 2, 1, 10}},
        {{0, 1, 1, 10, 1, 1}, Key::kRight, {10, 10}},
        {{0, 4, 2, 10, 1, 1}, Key::kRight, {10, 10}},  // CREDIT 2 fixes it
        {{0, 4, 1, 10, 0, 1}, Key::kRight, {10, 10}},  // CONTINUE off
    };
    for (const Case& c : cases) {
        TestModeFixture fixture;
        fixture.EnterTestMode();
        fixture.system->StoreOperatingSettings(c.live);
        fixture.OpenEntry(3);
        SetSystemPage* page = fixture.Opened<SetSystemPage>();
        ASSERT_NE(page, nullptr);
        for (int i = 0; i < 3; ++i) {
            fixture.Tap(Key::kDown);
        }
        ASSERT_EQ(page->cursor, SetSystemPage::kContinueCoins);
        std::vector<int> seen;
        for (size_t i = 0; i < c.prices.size(); ++i) {
            fixture.Tap(c.key);
            seen.push_back(page->Lines()[SetSystemPage::kContinueCoins].value);
        }
        EXPECT_EQ(seen, c.prices) << "COIN " << c.live.coins << " CREDIT " << c.live.credits;
    }
}

TEST_F(SetSystemPageTest, CoinAndCreditChangesAndContinueOffForceTheSamePrice) {
    SetSystemPage* page = Open(OperatingSettings{0, 3, 1, 2, 1, 1});
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Price(page), 2);
    Down(1);
    Tap(Key::kRight);
    EXPECT_EQ(page->Lines()[SetSystemPage::kCoins].value, 4);
    EXPECT_EQ(Price(page), 10);
    Down(2);
    Tap(Key::kLeft);
    EXPECT_EQ(Price(page), 3);
    Tap(Key::kUp);
    Tap(Key::kRight);  // CREDIT 2
    EXPECT_EQ(Price(page), 10);
    Tap(Key::kLeft);  // CREDIT 1 again: the price stays
    EXPECT_EQ(Price(page), 10);
    Down(1);
    Tap(Key::kLeft);
    EXPECT_EQ(Price(page), 3);
    Down(1);
    Tap(Key::kRight);  // CONTINUE off
    EXPECT_EQ(page->Lines()[SetSystemPage::kContinueOn].value, 0);
    EXPECT_EQ(Price(page), 10);
    // The value texts: the price as the same as play, the answers.
    StepTestMode();
    EXPECT_EQ(DrawnText(kSamePlay[0]).size(), 1u);
    EXPECT_EQ(DrawnText("4\x83R\x83"
                        "C\x83\x93")
                  .size(),
              1u);
}

TEST_F(SetSystemPageTest, FreePlayHidesThePricesAndTheCursorPassesThem) {
    SetSystemPage* page = Open(OperatingSettings{});
    ASSERT_NE(page, nullptr);
    Tap(Key::kRight);
    EXPECT_EQ(page->Lines()[0].value, 1);
    for (int line : {SetSystemPage::kCoins, SetSystemPage::kCredits, SetSystemPage::kContinueCoins}) {
        EXPECT_TRUE(page->Lines()[line].IsHidden()) << line;
        EXPECT_EQ(page->Lines()[line].labelColour.a, 0.0f);
    }
    Tap(Key::kDown);
    EXPECT_EQ(page->cursor, SetSystemPage::kContinueOn);
    Tap(Key::kUp);
    EXPECT_EQ(page->cursor, 0);
    Tap(Key::kUp);
    Tap(Key::kDown);
    EXPECT_EQ(page->cursor, 0) << "RETURN wraps to line 0";
    // Hidden lines are still drawn, in nothing.
    StepTestMode();
    EXPECT_EQ(DrawnText(kCoin[0]).size(), 1u);
    EXPECT_EQ(DrawnText(kCoin[0])[0].colour.a, 0.0f);
    Tap(Key::kLeft);
    EXPECT_FALSE(page->Lines()[SetSystemPage::kCoins].IsHidden());
}

TEST_F(SetSystemPageTest, YesStoresTheOperatingBlockNoLeavesTheFile) {
    SetSystemPage* page = Open(OperatingSettings{});
    ASSERT_NE(page, nullptr);
    const std::vector<uint8_t> before = ConfigBytes();
    Down(6);
    ASSERT_EQ(page->cursor, SetSystemPage::kReturn);
    Tap(Key::kButton1);
    ASSERT_TRUE(page->IsQuestionOpen());
    // Answers only in Japanese on this page, whatever the language.
    StepTestMode();
    EXPECT_EQ(DrawnText(kNoSelected[0]).size(), 1u);
    Tap(Key::kButton1);
    EXPECT_EQ(ConfigBytes(), before);

    OpenEntry(0);
    page = Opened<SetSystemPage>();
    ASSERT_NE(page, nullptr);
    Tap(Key::kDown);
    Tap(Key::kRight);  // COIN 2
    Tap(Key::kDown);
    Tap(Key::kRight);  // CREDIT 2
    Down(3);
    Tap(Key::kRight);  // DEMO'S SOUND off
    Down(1);
    Taps({Key::kButton3, Key::kLeft, Key::kButton3});
    const ConfigBlocks stored = StoredConfig();
    EXPECT_EQ(stored.operating.coins, 2);
    EXPECT_EQ(stored.operating.credits, 2);
    EXPECT_EQ(stored.operating.continueCoins, 10);
    EXPECT_EQ(stored.operating.continueEnabled, 1);
    EXPECT_EQ(stored.operating.demoSound, 0);
    EXPECT_EQ(stored.game, system->DefaultGameSettings());
}

TEST(SetSystemPageLanguageTest, EnglishLanguageKeepsTheJapaneseLabelsAndAnswers) {
    TestModeFixture fixture(MakeBootArchive(), 1);
    fixture.EnterTestMode();
    fixture.system->StoreOperatingSettings(OperatingSettings{0, 1, 1, 10, 1, 1});
    fixture.OpenEntry(3);
    fixture.StepTestMode();
    EXPECT_EQ(fixture.DrawnText("<<SET SYSTEM>>").size(), 1u);
    EXPECT_EQ(fixture.DrawnText(kCoin[0]).size(), 1u);
    EXPECT_EQ(fixture.DrawnText("1COIN").size(), 1u);
    EXPECT_EQ(fixture.DrawnText("SAME PLAY").size(), 1u);
    // The help pairs have no English: the help line stands empty.
    ASSERT_EQ(fixture.DrawnText("").size(), 1u);
    EXPECT_EQ(fixture.DrawnText("")[0].y0, 640.0f - 96);
}

}  // namespace
}  // namespace mareldon
