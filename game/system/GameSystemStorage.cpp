// The settings and ranking files.
#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"
#include "game/system/RankingFile.h"
#include "game/system/SaveFileStore.h"

namespace mareldon {

namespace {

// Anything larger is not one of our files.
constexpr size_t kReadLimit = 64 * 1024;

// Replaces a save file; one the game could not read is first kept beside it, and
// stays in place (nothing written) when it cannot be kept.
bool ReplaceSaveFile(SaveFileStore& store, const char* path, uint8_t& notTaken, const uint8_t* data,
                     size_t size) {
    if (notTaken) {
        std::string keptAs;
        if (!store.KeepAside(path, keptAs)) {
            LOG_ERROR("save", "%s could not be read or kept aside; it is not overwritten", path);
            return false;
        }
        if (!keptAs.empty()) {
            LOG_WARN("save", "the unreadable %s is kept as %s", path, keptAs.c_str());
        }
        notTaken = 0;
    }
    return store.Replace(path, data, size);
}

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
    if (ports_.saveFiles == nullptr) {
        return;
    }
    // Missing or unreadable: the first save keeps a file it finds there.
    if (!ports_.saveFiles->Read(ConfigFile::kPath, kReadLimit, bytes)) {
        configNotTaken_ = 1;
        return;
    }
    ConfigBlocks blocks{operating_, game_, sound_};
    if (!ConfigFile::Decode(bytes.data(), bytes.size(), blocks)) {
        configNotTaken_ = 1;
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
    return ReplaceSaveFile(*ports_.saveFiles, ConfigFile::kPath, configNotTaken_, bytes.data(), bytes.size());
}

void GameSystem::LoadRanking() {
    std::vector<uint8_t> bytes;
    if (ports_.saveFiles == nullptr) {
        return;
    }
    if (!ports_.saveFiles->Read(RankingFile::kPath, kReadLimit, bytes)) {
        rankingNotTaken_ = 1;
        return;
    }
    // A short file is refused whole: records read from a damaged file cannot be
    // told from records that only look whole, and a garbage score would top the
    // list for good. The file itself is kept aside before the next save.
    if (!RankingFile::Decode(bytes.data(), bytes.size(), rankings_)) {
        rankingNotTaken_ = 1;
        LOG_WARN("save", "%s is damaged (%zu bytes); the built-in rankings are in force", RankingFile::kPath,
                 bytes.size());
    }
}

bool GameSystem::SaveRanking() {
    if (ports_.saveFiles == nullptr) {
        return false;
    }
    const std::vector<uint8_t> bytes = RankingFile::Encode(rankings_);
    return ReplaceSaveFile(*ports_.saveFiles, RankingFile::kPath, rankingNotTaken_, bytes.data(),
                           bytes.size());
}

}  // namespace mareldon
