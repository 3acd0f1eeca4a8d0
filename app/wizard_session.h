// The running wizard: its graph window, UI font and context, and the wizard
// with its pages. The setup program and its frame benchmark both start it,
// step it and end it through these functions, so they run the same loop.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/setup_wizard.h"
#include "ui_backend/ui_font.h"

// The loop's pause between frames: the wizard then idles at a small share of a core.
constexpr DWORD kFrameSleepMs = 10;

struct WizardSession {
  HWND window = nullptr;
  HDC window_dc = nullptr;
  UiFont* font = nullptr;
  nk_context* ctx = nullptr;
  // Lives until the process ends, as its pages and records do.
  SetupWizard* wizard = nullptr;
};

// Opens the window with its title, makes the UI font and context and the
// wizard, and starts the batch drawing: the window shows only flushed frames.
WizardSession start_wizard();

// One frame without its pause: hands the queued input to the UI library,
// lets the current page declare its widgets, renders and flushes.
void run_wizard_frame(const WizardSession& session, int32_t* running, int32_t* current_page);

// Ends the batch drawing and releases the font, the window's DC and the window.
void end_wizard(WizardSession& session);
