// Sound effects by id and the music of the scene flow, and the sound banks.
#include "engine/core/Cp932.h"
#include "engine/render/draw/Renderer.h"
#include "game/system/GameSystem.h"

namespace mareldon {

namespace {

using SeRow = GameSystem::SeRow;

// Not in id order; a cue may serve several ids.
constexpr SeRow kSeTable[] = {
    {0, "SE0030", 0.85f},      {14, "SE0044", 0.9f},     {15, "SE0045", 0.9f},       {16, "SE0058", 1.0f},
    {17, "vosk1_se42", 1.0f},  {44, "vosk1_se42", 1.0f}, {2, "SE0077_2", 1.0f},      {3, "vosk1_se37", 1.0f},
    {4, "SE0071", 1.0f},       {5, "vosk1_se36", 1.0f},  {45, "05D_GIMIC17", 0.98f}, {46, "SE0021", 1.0f},
    {49, "061_FSHOT18", 0.8f}, {50, "atc", 0.8f},        {1, "SE005D", 0.9f},        {47, "09_", 1.0f},
    {6, "SE0020", 1.0f},       {7, "SE0021", 1.0f},      {8, "SE005F", 1.0f},        {9, "SE008B", 1.0f},
    {10, "SE0023", 1.0f},      {11, "SE003D", 0.72f},    {12, "SE0023", 1.0f},       {13, "SE0083", 1.0f},
    {18, "vosk1_se02", 1.0f},  {19, "gameover", 1.0f},   {20, "SE0082", 0.81f},      {21, "vosk1_se01", 1.0f},
    {22, "vosk1_se10", 1.0f},  {23, "vosk1_se83", 1.0f}, {24, "SE008F", 0.9f},       {25, "vosk1_se57", 1.0f},
    {26, "vosk1_se85", 1.0f},  {27, "vosk1_se66", 0.9f}, {28, "SE00B2", 1.0f},       {29, "SE0088", 1.0f},
    {30, "SE00B3", 1.0f},      {31, "SE00B2", 1.0f},     {32, "SE008F", 1.0f},       {33, "SE0091", 1.0f},
    {34, "SE008C", 1.0f},      {35, "SE0099", 1.0f},     {36, "SE00AE", 1.0f},       {37, "SE0070", 0.91f},
    {38, "SE0071", 0.91f},     {39, "SE0074", 0.91f},    {40, "SE007C", 0.91f},      {41, "vosk1_se31", 1.0f},
    {42, "vosk1_se42", 1.0f},  {43, "vosk1_se49", 1.0f}, {51, "vosk1_se23", 1.0f},   {48, "vosk1_se50", 1.0f},
};
static_assert(std::size(kSeTable) == GameSystem::kSeCount);

// Loaded in this order and unloaded in the same order.
constexpr const char* kBanks[] = {"SYSTEM",     "SYSTEMSE",   "SYSTEMBGM",  "GAMEREGULAR", "STAGE_無",
                                  "STAGE_零",   "STAGE00_始", "STAGE01_風", "STAGE02_火",  "STAGE03_海",
                                  "STAGE04_空", "STAGE05_天", "STAGE06_果"};

constexpr float kSeVolumeScale = 0.0095f;
constexpr float kPercent = 0.01f;

}  // namespace

std::span<const char* const> GameSystem::SoundBanks() {
    return kBanks;
}

std::span<const GameSystem::SeRow> GameSystem::SeTable() {
    return kSeTable;
}

void GameSystem::LoadCommonResources() {
    if (resourcesLoaded_) {
        return;
    }
    if (renderer) {
        for (const char* bank : kBanks) {
            renderer->LoadGroup(Utf8ToCp932(bank).c_str());
        }
        banksLoaded_ = 1;
    }
    LoadSeCues();
    BuildOverlay();
    resourcesLoaded_ = 1;
}

void GameSystem::UnloadBanks() {
    if (!banksLoaded_ || !renderer) {
        return;
    }
    for (const char* bank : kBanks) {
        renderer->UnloadGroup(Utf8ToCp932(bank).c_str());
    }
    banksLoaded_ = 0;
}

void GameSystem::LoadSeCues() {
    for (SeSlot& slot : seSlots_) {
        slot.counter = 0;
    }
    for (const SeRow& row : kSeTable) {
        SeSlot& slot = seSlots_[size_t(row.id)];
        slot.cue = SoundCueRef(renderer.Get(), soundBox, row.cue);
        slot.cue.SetVolume(float(sound_.seVolume) * kSeVolumeScale * row.volume);
        slot.cue.SetPan(float(sound_.balance) * kPercent);
    }
}

void GameSystem::StartSe(int32_t id, uint8_t loop) {
    if (ports_.seAsked != nullptr) {
        ports_.seAsked(id);
    }
    if (id < 0 || id >= kSeCount) {
        return;
    }
    // The attract loop without DEMO'S SOUND sounds only the coin and service chimes.
    if (attract_ && operating_.demoSound == 0 && id != 6 && id != 7) {
        return;
    }
    SeSlot& slot = seSlots_[size_t(id)];
    if (slot.counter > 0) {
        return;
    }
    slot.counter = kSeGuardSteps;
    slot.cue.Stop();
    slot.cue.Play(loop);
}

void GameSystem::StopSe(int32_t id) {
    if (id < 0 || id >= kSeCount) {
        return;
    }
    SeSlot& slot = seSlots_[size_t(id)];
    slot.counter = 0;
    slot.cue.Stop();
}

void GameSystem::StopAllSe() {
    for (int32_t id = 0; id < kSeCount; ++id) {
        // The coin chimes (6, 7) and ids 18 and 19 are left to end by themselves.
        if (id == 6 || id == 7 || id == 18 || id == 19) {
            continue;
        }
        StopSe(id);
    }
}

void GameSystem::TickSeCounters() {
    for (SeSlot& slot : seSlots_) {
        if (slot.counter > 0) {
            --slot.counter;
        }
    }
}

void GameSystem::StopBgm() {
    bgm_.Stop();
    bgm_.Release();
    bgmCue_ = "";
    bgmPlaying_ = 0;
}

void GameSystem::StopHeldBgm() {
    bgm_.Stop();
    bgmPlaying_ = 0;
}

void GameSystem::PlayBgm(const char* cue) {
    StopBgm();
    bgm_ = SoundCueRef(renderer.Get(), soundBox, cue);
    bgm_.SetVolume(float(sound_.bgmVolume) * kPercent);
    bgm_.SetPan(float(sound_.balance) * kPercent);
    // One pass: tunes are not looped.
    bgm_.Play(0);
    bgmCue_ = cue;
    bgmPlaying_ = 1;
}

}  // namespace mareldon
