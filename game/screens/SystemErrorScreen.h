#pragma once

#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "game/system/SceneTask.h"

namespace mareldon {

class SceneDrawSet;
class ShaderGenBase;
class TextDrawer;

// The error scenes "serviceswitcherror", "coinerror" and "i/oerror": one line of
// text in the middle of a black screen. Raised while the machine boots, it ends
// the program 15 s later; raised later, it stays until the machine is switched off.
class SystemErrorScreen : public SceneTask {
  public:
    static constexpr int kQuitSteps = 900;
    static constexpr float kTextX = 240.0f;
    static constexpr float kTextY = 320.0f;
    static constexpr float kTextSize = 12.0f;
    static constexpr float kTextHeight = 24.0f;

    SystemErrorScreen(GameSystem* owner, const String& sceneName, const String& successorName,
                      const String& message, bool quit);
    ~SystemErrorScreen() override;

    void OnUpdatePre() override { StepScreen(); }
    void OnDrawPre() override { DrawScreen(); }

    // One step: the quit at step 900 (named apart from the task's own Update and Draw).
    void StepScreen();
    // Black, the message, then the draw set.
    void DrawScreen();
    // Queues the message into the draw set; `end` gets the pen after it.
    void QueueText(Vec3& end);

    const String& GetMessage() const { return message; }
    // The drawing set the text goes into; empty without a renderer.
    const RefPtr<SceneDrawSet>& DrawSet() const { return drawSet; }

  protected:
    RefPtr<ShaderGenBase> generator;
    RefPtr<SceneDrawSet> drawSet;
    RefPtr<TextDrawer> text;
    String message;
    bool quit;
};

}  // namespace mareldon
