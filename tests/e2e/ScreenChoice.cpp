// Chooses the headless screen of this test program before anything reads the screen: the
// program's own static initialisers take the screen size and density before main runs.
#include "platform/HeadlessScreen.h"

namespace {

struct HeadlessScreenChoice {
  HeadlessScreenChoice() {
    headless::UseHeadlessScreen(E2E_SCREEN_WIDTH, E2E_SCREEN_HEIGHT, E2E_SCREEN_DPI);
  }
};

__attribute__((init_priority(101))) HeadlessScreenChoice screenChoice;

}  // namespace
