#pragma once

#include <string>

#include "game/screens/PlaceholderBackdrop.h"
#include "game/system/SceneTask.h"
#include "game/system/SystemTask.h"

namespace mareldon {

// Stand-in for a screen that is not built yet: it shows the placeholder backdrop and
// hands control back after a fixed number of steps, so the scene flow runs end to end.
// Every stand-in reports its construction (class and arguments) to an optional
// hook, which tests use to follow the flow.
class PlaceholderScreen : public SceneTask {
  public:
    using BuildHook = void (*)(const std::string& description);

    // Steps a stand-in runs before it requests its successor.
    static int stepsToRun;
    static BuildHook onBuilt;
    static void Report(const std::string& description);

    PlaceholderScreen(GameSystem* owner, const String& breakInName, const String& successorName,
                      const std::string& description);

    bool IsAlive() override { return IsAliveWhileCurrent(); }
    void OnUpdatePre() override;
    void OnDrawPre() override { backdrop.Draw(); }

  protected:
    // One step; the default runs to the end and then requests the successor.
    virtual void Step();
    // A coin or the service button requests the break-in, where the screen allows it.
    void CheckBreakIn();
    int steps = 0;
    // Attract-loop screens break in on a coin or on the service button.
    bool breaksInOnCoin = false;
    PlaceholderBackdrop backdrop{*this};
};

// Stand-in for an overlay over the running scene (join-in, name entry).
class PlaceholderOverlay : public SystemTask {
  public:
    PlaceholderOverlay(GameSystem* owner, int playerBit, int flagIndex, const std::string& description);
    ~PlaceholderOverlay() override;

    bool IsAlive() override { return steps < PlaceholderScreen::stepsToRun; }
    void OnUpdatePre() override;

  protected:
    // Runs once, on the last step.
    virtual void Finish() {}

    int playerBit;
    int flagIndex;
    int steps = 0;
};

std::string Describe(const char* screen, const String& a, const String& b);

}  // namespace mareldon
