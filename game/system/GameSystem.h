#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/core/HandleArray.h"
#include "engine/core/Math.h"
#include "engine/core/PlayerInput.h"
#include "engine/core/Stopwatch.h"
#include "engine/core/String.h"
#include "engine/core/TaskObject.h"
#include "engine/platform/MovieDecoder.h"
#include "game/system/ConfigFile.h"
#include "game/system/PlayerRecord.h"
#include "game/system/Rankings.h"
#include "game/system/SceneRegistry.h"
#include "game/system/SoundCueRef.h"
#include "game/system/StageEntry.h"
#include "game/system/StageStart.h"
#include "game/system/SystemInputs.h"

namespace mareldon {

class SaveFileStore;
class SceneDrawSet;
class SceneTask;
class ShaderGenBase;
class SpriteDrawer;
class SpriteRect;
class SpriteSheet;

// What the game system is handed besides the task tree's services. The first
// three are stand-ins that tests script; null means the real one: save files
// through the task's file system (none: nothing is read or written), events
// through the I/O library, buttons from two system inputs under the task's input
// manager (none: no button is down). `scenes` holds the screens the scene flow
// builds; without it no screen is built.
struct GameSystemPorts {
    SaveFileStore* saveFiles = nullptr;
    EventReporter reportEvent = nullptr;
    const SystemInputs* inputs = nullptr;
    const SceneRegistry* scenes = nullptr;
    // The movie screens' decoders; none when null.
    MovieDecoderFactory createMovieDecoder = nullptr;
    // Told of every sound effect asked for, before the rules that may keep it
    // silent; for event logs.
    void (*seAsked)(int32_t id) = nullptr;
    // A development start straight into a stage; unset: the normal flow.
    StageStart stageStart{};
};

// The arcade machine's one system task: settings, rankings, players, coins and
// credits, the stage table, and the scene flow, which keeps exactly one screen
// (the current scene) alive among its children and replaces it by name.
class GameSystem : public TaskObject {
  public:
    static constexpr int kAttentionSteps = 180;
    static constexpr int kMaxCredits = 9;
    static constexpr int kSeCount = 52;
    // Steps a sound effect ignores new plays after it started.
    static constexpr int kSeGuardSteps = 2;
    static constexpr int kScreenWidth = 480;
    static constexpr int kScreenHeight = 640;

    // One row of the sound-effect table: the id, the sound's name and its volume
    // relative to the effects' volume setting.
    struct SeRow {
        int32_t id;
        const char* cue;
        float volume;
    };
    // The sound-effect table, in the order the cues are made.
    static std::span<const SeRow> SeTable();
    // The sound banks, in the order they are loaded and unloaded (UTF-8).
    static std::span<const char* const> SoundBanks();

    // A step of the scene table, run on entering a scene.
    using SceneStep = void (GameSystem::*)(SceneSetup& setup);
    // One row of the scene table: what the flow does on entering the scene, and
    // the names its screen hands over to.
    struct SceneRow {
        const char* name;
        const char* breakIn;    // A: requested when a coin, a start or a join-in breaks in
        const char* successor;  // B: requested when the screen runs to its end (a step may pick another)
        bool screen;            // false: the scene builds no screen
        SceneStep before;       // before the screen is built; may be null
        SceneStep after;        // after it is built; may be null
    };
    // The scene table, in the order names are compared.
    static std::span<const SceneRow> SceneTable();

    explicit GameSystem(TaskObject* parent, const GameSystemPorts& ports = {});
    ~GameSystem() override;

    // The scene flow runs in the alive test; false ends the program.
    bool IsAlive() override { return UpdateScene(); }
    void OnUpdatePre() override { WatchInputs(); }

    void OnUpdatePost() override { SetFullViewport(); }
    void OnDrawPre() override { SetScreenViewport(); }
    void OnDrawPost() override { DrawCredits(); }

    bool UpdateScene();
    // Null when the screens go without their movies.
    MovieDecoderFactory GetMovieDecoderFactory() const { return ports_.createMovieDecoder; }
    SceneTask* GetCurrentScene() const { return currentScene_; }
    const String& GetCurrentSceneName() const { return currentSceneName_; }
    const String& GetRequestedSceneName() const { return requestedSceneName_; }
    // The coin, service, test, error and screen keys, before the scenes update
    // (InputWatch.cpp).
    void WatchInputs();
    // The whole screen target, after the update pass and after the overlay.
    void SetFullViewport();
    // The 480 x 640 play area, before the scenes draw.
    void SetScreenViewport();
    // The credits (or free play, or "Enjoy") over every scene.
    void DrawCredits();
    // The overlay's sprites: "credit", "FreePlay_002", "Enjoy", then the digits
    // "1016_Coin_kazu_0" to "_9".
    enum OverlaySpriteId {
        kCreditSprite,
        kFreePlaySprite,
        kEnjoySprite,
        kDigitSprite0,
        kOverlaySpriteCount = 13
    };
    static const char* OverlaySpriteName(int sprite);
    // One sprite of the overlay, centred at (x, y).
    struct OverlaySprite {
        int sprite;
        float x;
        float y;
    };
    // What the overlay shows this frame on a screen `width` wide: up to two sprites.
    int CollectOverlay(float width, OverlaySprite (&out)[2]) const;

    void ReportEvent(uint32_t code, uint32_t argument) const;
    ButtonSet GetSystemButtons(int input) const;
    // The logical-button keys of the game, for every input the screens build.
    const KeyMap& GetKeyMap() const { return keyMap_; }

    // Settings.
    const OperatingSettings* GetOperatingSettings(OperatingSettings* out) const;
    const GameSettings* GetGameSettings(GameSettings* out) const;
    const SoundSettings* GetSoundSettings(SoundSettings* out) const;
    const OperatingSettings& GetOperatingSettings() const { return operating_; }
    const GameSettings& GetGameSettings() const { return game_; }
    const SoundSettings& GetSoundSettings() const { return sound_; }
    const OperatingSettings& DefaultOperatingSettings() const { return defaultOperating_; }
    const GameSettings& DefaultGameSettings() const { return defaultGame_; }
    const SoundSettings& DefaultSoundSettings() const { return defaultSound_; }
    void StoreOperatingSettings(const OperatingSettings& block);
    void StoreGameSettings(const GameSettings& block);
    void StoreSoundSettings(const SoundSettings& block);
    void LoadConfig();
    bool SaveConfig();

    // Rankings.
    const PlayerRecord& GetRankingEntry(int i) const { return rankings_.GetRankingEntry(i); }
    const PairRankingEntry& GetPairRankingEntry(int i) const { return rankings_.GetPairRankingEntry(i); }
    int FindRankPosition(const PlayerRecord& record) const { return rankings_.FindRankPosition(record); }
    int InsertRanking(const PlayerRecord& record) { return rankings_.InsertRanking(record); }
    int FindPairRankPosition(const PairRankingEntry& pair) const {
        return rankings_.FindPairRankPosition(pair);
    }
    int InsertPairRanking(const PairRankingEntry& pair) { return rankings_.InsertPairRanking(pair); }
    void ResetRanking() { rankings_.ResetRanking(); }
    void ResetPairRanking() { rankings_.ResetPairRanking(); }
    void LoadRanking();
    bool SaveRanking();

    // Stage table.
    void BuildStageTable();
    // Entry i; callers keep i within the table, and an index outside it is clamped.
    const StageEntryHandle& GetStageEntry(int i) const;
    int GetStageCount() const { return stageTable_.Count(); }
    int GetCurrentStage() const { return currentStage_; }
    int GetPlayingStage() const { return playingStage_; }
    void SetGameMode(int32_t mode) { gameMode_ = mode; }
    int32_t GetGameMode() const { return gameMode_; }
    // The next stage played records both players' input to ".trace" files (written when
    // its screen goes). MARELDON_RECORD=1 records every stage.
    void SetRecordNextGame(bool record) { recordNextGame_ = record ? 1 : 0; }
    bool IsRecordingNextGame() const { return recordNextGame_ != 0 || recordEveryGame_ != 0; }

    // Players, coins and credits. A player mask acts on its first set bit
    // (bit 0 player 1, bit 1 player 2), player 1 when none is set.
    PlayerRecord& GetPlayer(int mask) { return live_[PlayerIndex(mask)]; }
    uint8_t* GetPlayerFlags(int mask) { return flags_[PlayerIndex(mask)].data(); }
    // The saved pair, player 1 first.
    const std::array<PlayerRecord, 2>& GetSavedScore() const { return saved_; }
    int GetCredits() const;
    int GetCoinUnits() const { return creditUnits_ + pendingCoins_; }
    void AddCoin();
    void AddServiceCredit();
    int CoinsToNextCredit() const;
    int CoinsForPlayer(int mask) const;
    int GetPlayerStatus(int mask) const;
    bool CanPlayerStart(int mask) const;
    bool IsPlayerInGame(int mask) const;
    bool IsPlayerSelectingShip(int mask) const { return GetPlayerStatus(mask) == 13; }
    bool IsPlayerStatus12(int mask) const { return GetPlayerStatus(mask) == 12; }
    bool IsPlayerStatus9To11(int mask) const;
    int AddStartLock() { return ++startLock_; }
    // Never below 0: an unmatched release is logged and ignored.
    int ReleaseStartLock();
    void SetStartBlocked(bool blocked) { startBlocked_ = blocked; }
    bool IsStartBlocked() const { return startBlocked_ != 0; }
    void StartAttentionTimer() { attentionTimer_ = kAttentionSteps; }
    int GetAttentionTimer() const { return attentionTimer_; }
    void TakeCoinsForCredit(int mask);
    void StartGame(int mask);
    void JoinPlayers(int mask);
    void StartNameEntry(int mask);
    void ResetPlayers(int mask);
    void ResetGame();
    void SavePlayerRecords();
    void SetPairMode(bool pair);
    bool IsPairMode() const { return pairMode_ != 0; }
    uint64_t UpdateTopScore();
    uint64_t GetTopScore() const { return topScore_; }

    // Flags the overlays and the play screen read.
    bool IsEndingInProgress() const { return endingInProgress_ != 0; }
    bool HasReachedEnding() const { return reachedEnding_ != 0; }
    bool IsAttractMode() const { return attract_ != 0; }
    bool IsBootPhase() const { return bootPhase_ != 0; }
    bool IsErrorShown() const { return errorShown_ != 0; }
    const Stopwatch& GetStopwatch() const { return stopwatch_; }
    const Vec3& GetStartCursorPosition() const { return cursorPosition_; }
    // Set by the name entry once the first of a pair committed its name.
    uint8_t& PairNameFlag() { return pairNameFlag_; }
    // The stage-play byte: cleared at construction, otherwise stage play's own.
    uint8_t& StagePlayFlag() { return stagePlayFlag_; }

    // The sound banks, the sound-effect cues and the overlay's drawing
    // resources; guarded so it runs once (SoundCues.cpp).
    void LoadCommonResources();
    bool AreResourcesLoaded() const { return resourcesLoaded_ != 0; }

    // Sound effects by id (0..51; others do nothing).
    void PlaySe(int32_t id) { StartSe(id, 0); }
    void PlaySeLooped(int32_t id) { StartSe(id, 1); }
    void StopSe(int32_t id);
    void StopAllSe();
    void TickSeCounters();
    void LoadSeCues();
    int GetSeCounter(int32_t id) const { return seSlots_[size_t(id)].counter; }
    const SoundCueRef& GetSeCue(int32_t id) const { return seSlots_[size_t(id)].cue; }

    // Background music of the scene flow: one cue at a time, one pass each.
    void StopBgm();
    void PlayTitleBgm() { PlayBgm("title"); }
    void PlayDemoBgm() { PlayBgm("demo03"); }
    void PlayMovieBgm() { PlayBgm("moviest"); }
    void PlayEndingBgm() { PlayBgm("end"); }
    // Silences the held cue; the cue stays held (the test mode).
    void StopHeldBgm();
    // The name of the held cue (empty when none) and whether it sounds.
    const String& GetBgmCue() const { return bgmCue_; }
    bool IsBgmPlaying() const { return bgmPlaying_ != 0; }
    const SoundCueRef& GetBgm() const { return bgm_; }

    // Raises the credits past the coin rules' cap of 9; for tests of the overlay.
    void ForceCreditsForTest(int credits) { creditUnits_ = credits * CoinsPerCredit(); }

    // Front-end screens: the scripted stand-in for the cabinet's buttons (null
    // when the screens read their own inputs), and the start lock's count.
    const SystemInputs* GetScriptedInputs() const { return ports_.inputs; }
    int GetStartLock() const { return startLock_; }
    // The screens' factories (the world screen builds its result overlay with one).
    const SceneRegistry* GetScenes() const { return ports_.scenes; }
    // The saved pair's record of the player of `mask`, for the name entry's name.
    PlayerRecord& GetSavedRecord(int mask) { return saved_[size_t(PlayerIndex(mask))]; }

  private:
    friend class SceneTask;

    static int PlayerIndex(int mask) { return (mask & 1) ? 0 : ((mask & 2) ? 1 : 0); }
    // COIN, never below 1 whatever a store handed in, so no rule divides by zero.
    int CoinsPerCredit() const { return operating_.coins > 0 ? operating_.coins : 1; }
    bool IsFreePlay() const { return operating_.playMode == 1; }
    void GrantCredits(int units);
    // Coins a start costs the player: CONTINUE COIN for a continue, else COIN.
    int Price(int mask) const;
    void DeleteAllChildren();
    void BuildScene(const String& name);
    void PlayBgm(const char* cue);
    void StartSe(int32_t id, uint8_t loop);
    // The coin chime (SE 6), sounding even in a silent attract loop.
    void RingCoinChime();
    void UnloadBanks();
    void BuildOverlay();

    // The steps of the scene table (GameSystemScenes.cpp).
    void EnterBoot(SceneSetup& setup);
    void AfterNotice(SceneSetup& setup);
    void EnterAttract(SceneSetup& setup);
    void EnterDemo(SceneSetup& setup);
    void EnterTitle(SceneSetup& setup);
    void EnterTitleAgain(SceneSetup& setup);
    void EnterDemoTutorial(SceneSetup& setup);
    void EnterGameStart(SceneSetup& setup);
    void AfterGameStart(SceneSetup& setup);
    void EnterShipSelect(SceneSetup& setup);
    void EnterPrevStage(SceneSetup& setup);
    void EnterNextStage(SceneSetup& setup);
    void EnterActualGame(SceneSetup& setup);
    void EnterGameOver(SceneSetup& setup);
    void EnterEnding(SceneSetup& setup);
    void EnterAllClear(SceneSetup& setup);
    void EnterTestMode(SceneSetup& setup);
    void AfterTestMode(SceneSetup& setup);
    void EnterServiceSwitchError(SceneSetup& setup);
    void EnterCoinError(SceneSetup& setup);
    void EnterIoError(SceneSetup& setup);
    void EnterSystemError(uint32_t argument);
    void EnterQuit(SceneSetup& setup);
    // Puts player 1 in the game at the development start's stage, once.
    void ApplyStageStart();

    GameSystemPorts ports_;
    std::unique_ptr<SaveFileStore> ownSaveFiles_;

    OperatingSettings operating_;
    OperatingSettings defaultOperating_;
    GameSettings game_;
    GameSettings defaultGame_;
    SoundSettings sound_;
    SoundSettings defaultSound_;
    uint8_t resourcesLoaded_ = 0;
    // Set while the save file found at start-up was not taken (missing,
    // unreadable or damaged): a file still there is kept aside before the first
    // save replaces it.
    uint8_t configNotTaken_ = 0;
    uint8_t rankingNotTaken_ = 0;

    Rankings rankings_;
    HandleArray<StageEntry> stageTable_{4};
    KeyMap keyMap_;

    std::array<PlayerRecord, 2> saved_;
    std::array<PlayerRecord, 2> live_;
    std::array<std::array<uint8_t, 3>, 2> flags_{};
    int32_t creditUnits_ = 0;
    int32_t pendingCoins_ = 0;
    int32_t attentionTimer_ = 0;
    int32_t startLock_ = 0;
    uint8_t pairNameFlag_ = 0;
    uint64_t topScore_ = 0;

    int32_t currentStage_ = 0;
    int32_t gameMode_ = 1;
    uint8_t pairMode_ = 0;
    uint8_t startBlocked_ = 0;
    int32_t playingStage_ = 0;

    struct SeSlot {
        SoundCueRef cue;
        int32_t counter = 0;
    };
    std::array<SeSlot, kSeCount> seSlots_{};
    SoundCueRef bgm_;
    String bgmCue_;
    uint8_t bgmPlaying_ = 0;
    uint8_t banksLoaded_ = 0;
    // The overlay's drawing resources, made with the sound cues.
    RefPtr<ShaderGenBase> overlayGenerator_;
    RefPtr<SceneDrawSet> overlayDrawSet_;
    RefPtr<SpriteSheet> overlaySheet_;
    RefPtr<SpriteDrawer> overlayDrawer_;
    // Looked up once; they live with the sheet.
    std::array<const SpriteRect*, kOverlaySpriteCount> overlayRects_{};
    uint8_t quit_ = 0;
    uint8_t attract_ = 0;

    Stopwatch stopwatch_;
    // Where the cursor stood when the system started, in main-window client
    // coordinates.
    Vec3 cursorPosition_{};

    SceneTask* currentScene_ = nullptr;
    String currentSceneName_;
    // The scene that made the last request, for the log line of "quit".
    String leftSceneName_;
    String requestedSceneName_;

    uint8_t endingInProgress_ = 0;
    uint8_t recordNextGame_ = 0;
    uint8_t recordEveryGame_ = 0;
    uint8_t stagePlayFlag_ = 0;
    uint8_t reachedEnding_ = 0;
    uint8_t errorShown_ = 0;
    uint8_t bootPhase_ = 1;
    // Set while the development start has not yet run.
    uint8_t stageStartPending_ = 0;

    // The two system inputs, when the game system made them (children of the
    // input manager, not of this task).
    PlayerInput* systemInputs_[2] = {nullptr, nullptr};
};

}  // namespace mareldon
