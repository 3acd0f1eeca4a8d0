// The one Nuklear configuration of the program: every file that uses Nuklear
// includes this header instead of nuklear.h. No vertex-buffer output and no
// font baking: fonts and drawing come from the GDI backend.
#pragma once

#define NK_INCLUDE_FIXED_TYPES
#define NK_INCLUDE_STANDARD_VARARGS
#define NK_INCLUDE_DEFAULT_ALLOCATOR
// The header makes its internal functions static as a single-file library;
// the pages call its widget text routine, so internal functions stay extern.
#define NK_LIB extern
#include "nuklear.h"
