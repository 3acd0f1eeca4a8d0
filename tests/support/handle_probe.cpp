#include "tests/support/handle_probe.h"

HANDLE next_handle_value() {
  HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(probe);
  return probe;
}
