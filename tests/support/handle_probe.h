// A probe for handles left open: the handle table hands a just-freed slot out
// again, so the next new handle takes the same value unless something in
// between kept a handle open.
#pragma once

#include <windows.h>

// The value the next new handle would take (an event made and closed at once).
HANDLE next_handle_value();
