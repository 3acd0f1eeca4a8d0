// Draws the UI library's commands of one frame into the working image.
#pragma once

#include "ui_backend/nuklear_config.h"

// Clears the working image to `clear`, draws every command of ui_context in
// order, each leaving the drawing state as it found it (a scissor replaces the
// clip region), then empties the command buffer. The frame is not flushed.
void ui_render(nk_color clear);
