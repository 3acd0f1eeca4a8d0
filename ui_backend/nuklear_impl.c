/* The Nuklear implementation, compiled once with the program's configuration. */
#define NK_IMPLEMENTATION
#include "nuklear_config.h"
