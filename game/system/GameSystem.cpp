#include "game/system/GameSystem.h"

#include <cstdlib>
#include <cstring>

#include "engine/core/Log.h"
#include "engine/platform/FileSystem.h"
#include "engine/platform/Window.h"
#include "engine/render/device/GraphicsDevice.h"
#include "game/system/InputManager.h"
#include "game/system/JvsLib.h"
#include "game/system/SaveFileStore.h"
#include "game/system/SceneTask.h"
#include "game/system/StageTable.h"

namespace mareldon {

namespace {

// The game's own keys of the logical buttons (Windows virtual-key codes):
// arrows, page up/down, Z X C V, I coin, S service, F3 F4, F2 test, R L turn
// the screen, F1 window, F5-F12, M, Y.
KeyMap GameKeyMap() {
    KeyMap map{{0x26, 0x28, 0x25, 0x27, 0x21, 0x22, 'Z',  'X',  'C',  'V',  'I', 'S', 0x72, 0x73, 0x71, 'R',
                'L',  0x70, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 'M', 'Y', 0,    0,    0,    0}};
    return map;
}

}  // namespace

GameSystem::GameSystem(TaskObject* parent, const GameSystemPorts& ports)
    : TaskObject(parent, 0), ports_(ports) {
    // A developer's switch: play to record.
    if (const char* record = std::getenv("MARELDON_RECORD"))
        recordEveryGame_ = std::strcmp(record, "1") == 0 ? 1 : 0;
    if (ports_.reportEvent == nullptr) {
        ports_.reportEvent = &JvsLib::ReportEvent;
    }
    if (ports_.saveFiles == nullptr && fileSystem) {
        ownSaveFiles_ = CreateSaveFileStore(*fileSystem);
        ports_.saveFiles = ownSaveFiles_.get();
    }
    operating_ = defaultOperating_;
    game_ = defaultGame_;
    sound_ = defaultSound_;
    LoadConfig();
    BuildStageTable();
    ResetRanking();
    ResetPairRanking();
    LoadRanking();
    ResetGame();
    keyMap_ = GameKeyMap();
    // A cabinet shows no pointer over the game.
    if (mainWindow != nullptr) {
        mainWindow->ShowCursor(false);
    }
    stopwatch_.Restart();
    if (mainWindow != nullptr) {
        mainWindow->GetCursorPosition(cursorPosition_);
    }
    if (ports_.inputs == nullptr && inputManager != nullptr) {
        systemInputs_[0] = new PlayerInput(inputManager, PlayerInput::kPad0 | PlayerInput::kKeyboard);
        systemInputs_[1] = new PlayerInput(inputManager, PlayerInput::kPad1);
        for (PlayerInput* input : systemInputs_) {
            input->SetKeyMap(keyMap_);
        }
    }
    requestedSceneName_ = "boot";
    if (ports_.stageStart.IsSet()) {
        if (ports_.stageStart.stage < GetStageCount()) {
            stageStartPending_ = 1;
            LOG_INFO("scene", "development start: stage %d (%s), player 1 with ship type %d",
                     ports_.stageStart.stage, GetStageEntry(ports_.stageStart.stage)->stageId.Text(),
                     ports_.stageStart.shipType);
        } else {
            LOG_WARN("scene", "development start at stage %d ignored: the table has %d stages",
                     ports_.stageStart.stage, GetStageCount());
        }
    }
    for (int input = 0; input < 2; ++input) {
        if (GetSystemButtons(input).held & SystemButton::kService) {
            requestedSceneName_ = "serviceswitcherror";
        }
    }
}

GameSystem::~GameSystem() {
    // Scenes reach back into the system while they are destroyed.
    DeleteChildren();
    UnloadBanks();
    for (PlayerInput* input : systemInputs_) {
        delete input;
    }
}

void GameSystem::ReportEvent(uint32_t code, uint32_t argument) const {
    if (ports_.reportEvent != nullptr) {
        ports_.reportEvent(code, argument);
    }
}

ButtonSet GameSystem::GetSystemButtons(int input) const {
    if (ports_.inputs != nullptr) {
        return ports_.inputs->GetButtons(input);
    }
    const PlayerInput* system = systemInputs_[input & 1];
    return system != nullptr ? system->GetButtons() : ButtonSet{};
}

void GameSystem::DeleteAllChildren() {
    currentScene_ = nullptr;
    DeleteChildren();
}

bool GameSystem::UpdateScene() {
    // A closed main window ends the program as "quit" does.
    if (quit_ || (graphicsDevice && !graphicsDevice->IsRunning())) {
        DeleteAllChildren();
        requestedSceneName_ = "";
        return false;
    }
    if (requestedSceneName_.IsEmpty()) {
        return true;
    }
    const String name = requestedSceneName_;
    requestedSceneName_ = "";
    BuildScene(name);
    currentSceneName_ = name;
    return true;
}

const StageEntryHandle& GameSystem::GetStageEntry(int i) const {
    const int last = stageTable_.Count() - 1;
    return stageTable_[i < 0 ? 0 : (i > last ? last : i)];
}

void GameSystem::BuildStageTable() {
    stageTable_.Clear();
    for (const StageRow& row : kStageRows) {
        stageTable_.Add(StageEntryHandle(new StageEntry(row)));
    }
}

}  // namespace mareldon
