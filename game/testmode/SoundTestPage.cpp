#include "game/testmode/SoundTestPage.h"

#include <algorithm>
#include <cstdio>

#include "engine/core/Log.h"
#include "engine/platform/SoundBox.h"
#include "engine/render/draw/Renderer.h"
#include "game/system/GameSystem.h"
#include "game/testmode/TestModeScreen.h"
#include "game/testmode/TestModeTexts.h"

namespace mareldon {

namespace {

using namespace TestModeTexts;

constexpr const char* kLog = "testmode";
constexpr float kPercent = 0.01f;
constexpr float kBarHeight = 14.4f;

constexpr const TextPair* kLabels[] = {&kSe, &kBgm, &kSeVolume, &kBgmVolume, &kBalance, &kSoundReturn};
constexpr const TextPair* kHelps[] = {&kSeHelp,        &kBgmHelp,     &kSeVolumeHelp,
                                      &kBgmVolumeHelp, &kBalanceHelp, &kSoundReturnHelp};

bool IsVolumeLine(int32_t line) {
    return line >= SoundTestPage::kSeVolumeLine && line <= SoundTestPage::kBalanceLine;
}

// One step through a list of `count`, wrapping; stays 0 on an empty list.
int32_t Wrap(int32_t number, int direction, int32_t count) {
    if (count <= 0) {
        return 0;
    }
    return (number + direction + count) % count;
}

}  // namespace

SoundTestPage::SoundTestPage(TestModeScreen& screen, int32_t itemCount, const String& title)
    : TestModePage(screen, itemCount, title), device(soundBox) {
    const SoundSettings& live = owner->GetSoundSettings();
    seVolume = live.seVolume;
    bgmVolume = live.bgmVolume;
    balance = live.balance;
    if (renderer) {
        cues = renderer->FindGroup("SYSTEMSE").sounds;
        for (int32_t slot : cues) {
            seList.push_back(renderer->AcquireSlotSound(slot));
            seSlots.push_back(slot);
        }
        // The tunes are the sound ids below the cue count that no cue names.
        for (int32_t id = 0; id < int32_t(cues.size()); ++id) {
            if (std::find(cues.begin(), cues.end(), id) == cues.end()) {
                bgmList.push_back(renderer->AcquireSlotSound(id));
                bgmSlots.push_back(id);
            }
        }
    }
    if (seList.empty() || bgmList.empty()) {
        LOG_WARN(kLog, "sound test: %d effects and %d tunes to play", int(seList.size()),
                 int(bgmList.size()));
    }
}

SoundTestPage::~SoundTestPage() {
    StopBoth();
}

void SoundTestPage::StopBoth() {
    if (device) {
        device->Stop(seSound);
        device->Stop(bgmSound);
    }
}

RefPtr<SoundBuffer> SoundTestPage::NewInstance(const std::vector<int32_t>& slots, int32_t number) const {
    if (!renderer || number < 0 || size_t(number) >= slots.size()) {
        return RefPtr<SoundBuffer>();
    }
    return renderer->CreateSlotSoundInstance(slots[size_t(number)]);
}

void SoundTestPage::PlaySe() {
    seSound = NewInstance(seSlots, seNumber);
    if (device && seSound) {
        device->SetSoundVolume(seSound, float(seVolume) * kPercent);
        device->Play(seSound, 0);
    }
}

void SoundTestPage::PlayBgm() {
    bgmSound = NewInstance(bgmSlots, bgmNumber);
    if (device && bgmSound) {
        device->SetSoundVolume(bgmSound, float(bgmVolume) * kPercent);
        device->Play(bgmSound, 1);
    }
}

void SoundTestPage::StartPreview() {
    StopBoth();
    seSound = NewInstance(seSlots, seNumber);
    bgmSound = NewInstance(bgmSlots, bgmNumber);
    if (device) {
        device->SetSoundVolume(seSound, float(seVolume) * kPercent);
        device->SetSoundPan(seSound, float(balance) * kPercent);
        device->SetSoundVolume(bgmSound, float(bgmVolume) * kPercent);
        device->SetSoundPan(bgmSound, float(balance) * kPercent);
        device->Play(seSound, 0);
        device->Play(bgmSound, 1);
    }
    replayCounter = 0;
    previewing = 1;
}

void SoundTestPage::HandleInput() {
    const ButtonSet& buttons = Buttons();
    if (previewing && device && seSound && !device->IsPlaying(seSound)) {
        if (++replayCounter > kReplaySteps) {
            device->Play(seSound, 0);
            replayCounter = 0;
        }
    }
    if (!question) {
        const int direction = (buttons.pressed & TestModeScreen::kDown) ? 1
                              : (buttons.pressed & TestModeScreen::kUp) ? -1
                                                                        : 0;
        if (direction != 0) {
            const int32_t old = cursor;
            cursor = cursor + direction > lastLine    ? firstLine
                     : cursor + direction < firstLine ? lastLine
                                                      : cursor + direction;
            if (!IsVolumeLine(cursor) && old != kBgmVolumeLine) {
                StopBoth();
                previewing = 0;
            } else if (IsVolumeLine(cursor) && (old == kBgmLine || old == kReturnLine)) {
                StartPreview();
            }
        }
    }
    const bool button = (buttons.pressed & TestModeScreen::kAnyButton) != 0;
    if (button && !question) {
        if (cursor == kSeLine) {
            StopBoth();
            previewing = 0;
            PlaySe();
        } else if (cursor == kBgmLine) {
            StopBoth();
            previewing = 0;
            PlayBgm();
        } else if (IsVolumeLine(cursor)) {
            StartPreview();
        }
    }
    if (buttons.repeat & TestModeScreen::kRight) {
        if (question) {
            answer = answer ? 0 : 1;
            return;
        }
        Change(1);
    } else if (buttons.repeat & TestModeScreen::kLeft) {
        if (question) {
            answer = answer ? 0 : 1;
            return;
        }
        Change(-1);
    }
    if (!button) {
        return;
    }
    if (question) {
        StopBoth();
        previewing = 0;
        if (answer) {
            owner->StoreSoundSettings(SoundSettings{seVolume, bgmVolume, balance});
        }
        question = 0;
        answer = 0;
        Close();
    } else if (cursor == kReturnLine) {
        question = 1;
        answer = 0;
    }
}

void SoundTestPage::Change(int direction) {
    switch (cursor) {
        case kSeLine:
            seNumber = Wrap(seNumber, direction, SeCount());
            break;
        case kBgmLine:
            bgmNumber = Wrap(bgmNumber, direction, BgmCount());
            break;
        case kSeVolumeLine:
            seVolume = std::clamp(seVolume + direction, 0, 100);
            if (device) {
                device->SetSoundVolume(seSound, float(seVolume) * kPercent);
            }
            break;
        case kBgmVolumeLine:
            bgmVolume = std::clamp(bgmVolume + direction, 0, 100);
            if (device) {
                device->SetSoundVolume(bgmSound, float(bgmVolume) * kPercent);
            }
            break;
        case kBalanceLine:
            balance = std::clamp(balance + direction, -100, 100);
            if (device) {
                device->SetSoundPan(seSound, float(balance) * kPercent);
                device->SetSoundPan(bgmSound, float(balance) * kPercent);
            }
            break;
        default:
            break;
    }
}

void SoundTestPage::DrawBar(float y, float length, bool equal, bool selected) {
    static constexpr ScreenColor kBackgrounds[4] = {
        {1, 1, 1, 0.3f}, {1, 0, 0, 0.3f}, {0, 0, 1, 0.3f}, {1, 1, 0, 0.3f}};
    static constexpr ScreenColor kValues[4] = {{1, 1, 1, 1}, {1, 0, 0, 1}, {0.5f, 0.5f, 1, 1}, {1, 1, 0, 1}};
    const int state = (equal ? 2 : 0) + (selected ? 1 : 0);
    const float x0 = 0.6f * screen.Width();
    screen.Quad(x0, y, x0 + 100, y + kBarHeight, kBackgrounds[state]);
    screen.Quad(x0, y, x0 + length, y + kBarHeight, kValues[state]);
}

void SoundTestPage::DrawPage() {
    const float w = screen.Width();
    DrawTitle(kSoundTitle, 24);
    const int32_t values[5] = {seNumber, bgmNumber, seVolume, bgmVolume, balance};
    char number[16];
    for (int32_t i = kSeLine; i <= kReturnLine; ++i) {
        const float y = 72.0f + 24.0f * float(i);
        const ScreenColor& colour = i == cursor ? kRed : kWhite;
        screen.TextFrom(0.1f * w, y, colour, screen.Pick(*kLabels[i]));
        if (i < kReturnLine) {
            std::snprintf(number, sizeof number, "%d", int(values[i]));
            screen.TextFrom(0.4f * w, y, colour, number);
        }
    }
    screen.TextFrom(0.1f * w - 24, 72.0f + 24.0f * float(cursor), kRed, kCursorMark[0]);
    screen.TextCentred(0.55f * w, 116, kWhite, kSmall[0]);
    screen.TextCentred(0.85f * w, 116, kWhite, kLarge[0]);
    screen.TextCentred(0.55f * w, 140, kWhite, kSmall[0]);
    screen.TextCentred(0.85f * w, 140, kWhite, kLarge[0]);
    screen.TextCentred(0.55f * w, 164, kWhite, kLeft[0]);
    screen.TextCentred(0.85f * w, 164, kWhite, kRight[0]);
    const SoundSettings& factory = owner->DefaultSoundSettings();
    DrawBar(120, float(seVolume), seVolume == factory.seVolume, cursor == kSeVolumeLine);
    DrawBar(144, float(bgmVolume), bgmVolume == factory.bgmVolume, cursor == kBgmVolumeLine);
    DrawBar(168, float(balance + 100) / 2, balance == factory.balance, cursor == kBalanceLine);
    if (question) {
        // The answers exist only in Japanese here.
        DrawQuestion(kSaveQuestion, answer != 0, 0);
        DrawHelps(screen.Pick(answer ? kSaveHelp : kDiscardHelp), kKeyAnswer[0], kKeyConfirm[0]);
    } else {
        DrawHelps(screen.Pick(*kHelps[cursor]), screen.Pick(kSoundKeySelect),
                  cursor == kReturnLine ? kKeyConfirm[0] : screen.Pick(kSoundKeyChange));
    }
}

}  // namespace mareldon
