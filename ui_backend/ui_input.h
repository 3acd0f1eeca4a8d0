// Window input and clipboard text for the UI library.
#pragma once

#include <windows.h>

#include "graphics/message_queue.h"
#include "ui_backend/nuklear_config.h"

// Feeds one queued record to ui_context (between nk_input_begin and
// nk_input_end). 1 when it became UI input, 0 when it was not translated.
// A button press captures the mouse until a button is released.
int ui_handle_message(HWND window, const GraphMsg* msg);

// The UI library's clipboard callbacks, on the clipboard's Unicode text.
// Failures end them quietly. A failed paste enters nothing. A copy that fails
// before emptying the clipboard leaves it as it was; once emptied (so that no
// other program pastes an older text kept in another format), a failing
// SetClipboardData leaves it empty.
// Pasting enters the text as if typed: it replaces the selection and passes
// the field's filter.
void ui_clipboard_paste(nk_handle handle, nk_text_edit* editor);
void ui_clipboard_copy(nk_handle handle, const char* text, int length);
