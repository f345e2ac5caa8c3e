// The settings and ranking files.
#include "engine/core/Log.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"
#include "game/system/RankingFile.h"
#include "game/system/SaveFileStore.h"

namespace mareldon {

namespace {

// Anything larger is not one of our files.
constexpr size_t kReadLimit = 64 * 1024;

}  // namespace

const OperatingSettings* GameSystem::GetOperatingSettings(OperatingSettings* out) const {
    *out = operating_;
    return out;
}

const GameSettings* GameSystem::GetGameSettings(GameSettings* out) const {
    *out = game_;
    return out;
}

const SoundSettings* GameSystem::GetSoundSettings(SoundSettings* out) const {
    *out = sound_;
    return out;
}

void GameSystem::StoreOperatingSettings(const OperatingSettings& block) {
    ReportEvent(IoEvent::kSettingsStored, 0);
    operating_ = block;
    SaveConfig();
}

void GameSystem::StoreGameSettings(const GameSettings& block) {
    ReportEvent(IoEvent::kSettingsStored, 0);
    game_ = block;
    SaveConfig();
}

void GameSystem::StoreSoundSettings(const SoundSettings& block) {
    ReportEvent(IoEvent::kSettingsStored, 0);
    sound_ = block;
    SaveConfig();
}

void GameSystem::LoadConfig() {
    std::vector<uint8_t> bytes;
    if (ports_.saveFiles == nullptr || !ports_.saveFiles->Read(ConfigFile::kPath, kReadLimit, bytes)) {
        return;
    }
    ConfigBlocks blocks{operating_, game_, sound_};
    if (!ConfigFile::Decode(bytes.data(), bytes.size(), blocks)) {
        LOG_WARN("save", "%s is damaged (%zu bytes); factory settings are in force", ConfigFile::kPath,
                 bytes.size());
        return;
    }
    operating_ = blocks.operating;
    game_ = blocks.game;
    sound_ = blocks.sound;
}

bool GameSystem::SaveConfig() {
    if (ports_.saveFiles == nullptr) {
        return false;
    }
    const auto bytes = ConfigFile::Encode({operating_, game_, sound_});
    return ports_.saveFiles->Replace(ConfigFile::kPath, bytes.data(), bytes.size());
}

void GameSystem::LoadRanking() {
    std::vector<uint8_t> bytes;
    if (ports_.saveFiles == nullptr || !ports_.saveFiles->Read(RankingFile::kPath, kReadLimit, bytes)) {
        return;
    }
    if (!RankingFile::Decode(bytes.data(), bytes.size(), rankings_)) {
        LOG_WARN("save", "%s is damaged (%zu bytes); the built-in rankings are in force", RankingFile::kPath,
                 bytes.size());
    }
}

bool GameSystem::SaveRanking() {
    if (ports_.saveFiles == nullptr) {
        return false;
    }
    const std::vector<uint8_t> bytes = RankingFile::Encode(rankings_);
    return ports_.saveFiles->Replace(RankingFile::kPath, bytes.data(), bytes.size());
}

}  // namespace mareldon
