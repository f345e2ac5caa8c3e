#include "engine/core/Application.h"

#include <cmath>

#include "engine/core/Clock.h"

namespace mareldon {

namespace {
constexpr float kStallBlock = 0.1f;     // 0x3DCCCCCD
constexpr float kMillisecond = 0.001f;  // 0x3A83126F
}  // namespace

RootTask::RootTask() : TaskObject(nullptr, 0) {
    frameRate = 60.0f;
    framePeriod = 1.0f / 60.0f;  // 0x3C888889
}

Application::Application(int argc, const char* const* argv) : AppBase(argc, argv), startTime(TickCount()) {
    lastTick = startTime;
}

Application::~Application() = default;

void Application::StartClock() {
    startTime = TickCount();
    lastTick = startTime;
    lag = 0.0;
}

bool Application::RunPass() {
    if (messagePump != nullptr)
        messagePump->PumpMessages();
    if (!root.IsAlive())
        return false;
    root.Draw();
    if (framePresenter != nullptr)
        framePresenter->PresentFrame();

    uint32_t now = TickCount();
    lag += static_cast<double>(static_cast<uint32_t>(now - lastTick)) * static_cast<double>(kMillisecond);
    lastTick = now;
    if (lag >= 1000.0 * static_cast<double>(kStallBlock)) {
        // A clock that jumped far ahead: drop the bulk at once, the tail block by block.
        double bulk = std::floor(lag / static_cast<double>(kStallBlock)) - 2.0;
        lag -= bulk * static_cast<double>(kStallBlock);
        droppedBlocks += static_cast<uint32_t>(bulk);
    }
    while (lag >= static_cast<double>(kStallBlock)) {
        lag -= static_cast<double>(kStallBlock);
        ++droppedBlocks;
    }
    stepsInLastPass = 0;
    while (lag >= static_cast<double>(root.framePeriod)) {
        StepOnce();
        lag -= static_cast<double>(root.framePeriod);
        ++stepsInLastPass;
        // The rest of the lag is caught up after the picture of this step is drawn.
        if (DrawAfterStep())
            break;
    }
    return true;
}

void Application::StepOnce() {
    if (inputPoller != nullptr)
        inputPoller->PollInput();
    root.Update();
    root.CollectDead();
}

double Application::TimeToNextStep() const {
    double remaining = static_cast<double>(root.framePeriod) - lag;
    return remaining > 0.0 ? remaining : 0.0;
}

void Application::Run() {
    StartClock();
    while (RunPass()) {
        // No step is due before this: give the CPU away rather than spin. (A presenter
        // that waits for the display has usually used up the time already.)
        double wait = TimeToNextStep() * 1000.0;
        uint32_t tick = TickCount();
        double waited = static_cast<double>(static_cast<uint32_t>(tick - lastTick));
        if (wait > waited)
            GetClock().Sleep(static_cast<uint32_t>(std::ceil(wait - waited)));
    }
}

int ApplicationMain() {
    AppBase* app = theApplication;
    if (app == nullptr)
        return 0;
    if (!app->Init())
        return 0;
    app->Run();
    app->Exit();
    return 0;
}

}  // namespace mareldon
