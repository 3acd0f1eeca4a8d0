// The setup program's entry: opens the graph window, sets up the UI font and
// context, and runs the frame loop that does every piece of work. The only
// other thread is the graph window's own.
#include <windows.h>

#include <cstdint>

#include "app/wizard_session.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int32_t running = 1;
  int32_t current_page = 1;

  WizardSession session = start_wizard();
  bool first_frame_done = false;
  while (running) {
    run_wizard_frame(session, &running, &current_page);
    Sleep(kFrameSleepMs);

    if (!first_frame_done) {
      // The welcome page is on screen while the detection runs; input queues.
      first_frame_done = true;
      session.wizard->first_frame();
    }
  }

  end_wizard(session);
  return 0;
}
