#include "game/screens/SystemErrorScreen.h"

#include "engine/render/archive/ResourceProxy.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/SceneDrawSet.h"
#include "game/render/NormalShaderGen.h"
#include "game/render/TextDrawing.h"
#include "game/screens/PlaceholderScreen.h"
#include "game/system/InputManager.h"

namespace mareldon {

SystemErrorScreen::SystemErrorScreen(GameSystem* owner, const String& sceneName, const String& successorName,
                                     const String& message, bool quit)
    : SceneTask(owner, sceneName, successorName, 0), message(message), quit(quit) {
    PlaceholderScreen::Report(Describe("SystemErrorScreen", sceneName, successorName) + " " + message.Text() +
                              " " + (quit ? "1" : "0"));
    if (renderer) {
        generator = RefPtr<ShaderGenBase>(new NormalShaderGen(renderer));
        drawSet = RefPtr<SceneDrawSet>(new SceneDrawSet(renderer));
        const TextureViewport whole{0, 0, 0, 0, 0.0f, 0.0f};
        drawSet->AddView(RefPtr<RenderView>(new RenderView(renderer, RefPtr<TextureBase>(screenTarget),
                                                           RenderView::DefaultClear(), generator, whole)));
        text = RefPtr<TextDrawer>(new TextDrawer(*drawSet, "shadingname", "F24"));
    }
    // Stops the bus thread and closes the port for good; from then on the input
    // manager raises the I/O error bit every step.
    if (inputManager != nullptr) {
        inputManager->CloseJvs();
    }
}

SystemErrorScreen::~SystemErrorScreen() {
    // The text drawer's commands point at it: it goes before the set.
    text = RefPtr<TextDrawer>();
    drawSet = RefPtr<SceneDrawSet>();
    generator = RefPtr<ShaderGenBase>();
}

void SystemErrorScreen::StepScreen() {
    // The request clears the current scene, so it acts once.
    if (quit && GetStepCount() >= kQuitSteps) {
        RequestSuccessor("");
    }
}

void SystemErrorScreen::DrawScreen() {
    if (screenTarget) {
        ClearRecord clear;
        clear.flags = 0x3;  // colour and depth
        clear.color = 0;
        clear.z = 1.0f;
        clear.stencil = 0;
        screenTarget->ClearAll(clear);
    }
    if (!text) {
        return;
    }
    Vec3 end{};
    QueueText(end);
    drawSet->Draw();
}

void SystemErrorScreen::QueueText(Vec3& end) {
    if (!text) {
        return;
    }
    // The centre of the start-up orientation's screen, whatever the target's size.
    text->DrawText(end, Vec3{kTextX, kTextY, 0.0f}, kTextSize, kTextHeight,
                   ScreenColor{1.0f, 1.0f, 1.0f, 1.0f},
                   std::string_view(message.Text(), size_t(message.Length())), true);
}

}  // namespace mareldon
