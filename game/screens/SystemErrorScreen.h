#pragma once

#include "game/screens/PlaceholderScreen.h"
#include "game/system/InputManager.h"

namespace mareldon {

// The error scenes "serviceswitcherror", "coinerror" and "i/oerror". Raised
// while the machine boots, it ends the program 15 s later; raised later, it
// stays until a break-in.
class SystemErrorScreen : public PlaceholderScreen {
  public:
    static constexpr int kQuitSteps = 900;

    SystemErrorScreen(GameSystem* owner, const String& sceneName, const String& successorName,
                      const String& message, bool quit)
        : PlaceholderScreen(owner, sceneName, successorName,
                            Describe("SystemErrorScreen", sceneName, successorName) + " " + message.Text() +
                                " " + (quit ? "1" : "0")),
          quit(quit) {
        // Stops the bus thread and closes the port; from then on the input
        // manager raises the I/O error bit every step.
        if (inputManager != nullptr) {
            inputManager->CloseJvs();
        }
    }

  protected:
    void Step() override {
        if (quit && GetStepCount() >= kQuitSteps) {
            RequestSuccessor("");
        }
    }

    bool quit;
};

}  // namespace mareldon
