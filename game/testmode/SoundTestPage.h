#pragma once

#include <vector>

#include "engine/core/RefPtr.h"
#include "game/testmode/TestModePage.h"

namespace mareldon {

class SoundBox;
class SoundBuffer;

// Plays any system sound effect or tune, sets the effects' and the music's
// volume and the balance with a live preview, and saves them on YES.
class SoundTestPage : public TestModePage {
  public:
    enum Line : int32_t { kSeLine, kBgmLine, kSeVolumeLine, kBgmVolumeLine, kBalanceLine, kReturnLine };
    // Steps after the previewed effect ended before it plays again.
    static constexpr int32_t kReplaySteps = 150;

    SoundTestPage(TestModeScreen& screen, int32_t itemCount, const String& title);
    ~SoundTestPage() override;

    void HandleInput() override;
    void DrawPage() override;

    // The listed sounds, by SE and BGM number.
    const std::vector<RefPtr<SoundBuffer>>& SeList() const { return seList; }
    const std::vector<RefPtr<SoundBuffer>>& BgmList() const { return bgmList; }
    int32_t SeCount() const { return int32_t(seList.size()); }
    int32_t BgmCount() const { return int32_t(bgmList.size()); }
    int32_t SeNumber() const { return seNumber; }
    int32_t BgmNumber() const { return bgmNumber; }
    int32_t SeVolume() const { return seVolume; }
    int32_t BgmVolume() const { return bgmVolume; }
    int32_t Balance() const { return balance; }
    // The sounds of the last audition: instances of their own, so their volume and
    // pan never reach the shared sounds the game's cues play.
    const RefPtr<SoundBuffer>& SeSound() const { return seSound; }
    const RefPtr<SoundBuffer>& BgmSound() const { return bgmSound; }
    bool IsPreviewing() const { return previewing != 0; }
    bool IsQuestionOpen() const { return question != 0; }

  private:
    RefPtr<SoundBuffer> NewInstance(const std::vector<int32_t>& slots, int32_t number) const;
    void StopBoth();
    void PlaySe();
    void PlayBgm();
    void StartPreview();
    void Change(int direction);
    void DrawBar(float y, float length, bool equal, bool selected);

    RefPtr<SoundBox> device;
    RefPtr<SoundBuffer> seSound;
    RefPtr<SoundBuffer> bgmSound;
    std::vector<RefPtr<SoundBuffer>> seList;
    std::vector<RefPtr<SoundBuffer>> bgmList;
    // The archive's sound slots of the two lists, for new instances.
    std::vector<int32_t> seSlots;
    std::vector<int32_t> bgmSlots;
    std::vector<int32_t> cues;
    int32_t firstLine = kSeLine;
    int32_t lastLine = kReturnLine;
    int32_t bgmNumber = 0;
    int32_t seNumber = 0;
    int32_t bgmVolume;
    int32_t seVolume;
    int32_t balance;
    uint8_t question = 0;
    uint8_t answer = 0;  // 0 NO, 1 YES
    uint8_t previewing = 0;
    int32_t replayCounter = 0;
};

}  // namespace mareldon
