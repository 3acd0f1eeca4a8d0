// Command runner: one anonymous pipe serves as the child's standard output
// and standard error, and is drained before the wait so that a child writing
// more than the pipe holds never blocks.
#include "mingw/command_runner.h"

#include <windows.h>

#include <new>
#include <vector>

#include "app/win_handles.h"

namespace {

// The failure texts, as bytes in code page 936: the caller searches the
// result as text, and neither holds a word that the toolchain probe looks for.
const char kPipeFailed[] = "\xB4\xB4\xBD\xA8\xB9\xDC\xB5\xC0\xCA\xA7\xB0\xDC";       // 创建管道失败
const char kProcessFailed[] = "\xB4\xB4\xBD\xA8\xBD\xF8\xB3\xCC\xCA\xA7\xB0\xDC: ";  // 创建进程失败:

constexpr DWORD kChunkBytes = 4095;

}  // namespace

std::string CommandRunner::run(const std::wstring& command) {
  SECURITY_ATTRIBUTES inherit{};
  inherit.nLength = sizeof(inherit);
  inherit.bInheritHandle = TRUE;
  unique_handle read_end, write_end;
  if (!CreatePipe(read_end.put(), write_end.put(), &inherit, 0)) return kPipeFailed;
  // Only the write end goes to the child; an inherited read end would keep
  // the pipe open after the child has finished.
  SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end.get();
  startup.hStdError = write_end.get();
  PROCESS_INFORMATION process{};

  BOOL started = FALSE;
  DWORD start_error = 0;
  {
    // CreateProcessW may write into its command line, so it gets a copy.
    const std::wstring line = L"cmd.exe /c " + command;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    started = CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                             &process);
    start_error = GetLastError();
  }
  if (!started) return kProcessFailed + std::to_string(start_error);
  unique_handle process_handle(process.hProcess), thread_handle(process.hThread);

  // From here on the pipe ends once the child, and whatever inherited the
  // write end from it, has closed it.
  write_end.reset();

  std::string output;
  char chunk[kChunkBytes + 1];
  DWORD got = 0;
  bool keeping = true;
  while (ReadFile(read_end.get(), chunk, kChunkBytes, &got, nullptr) && got > 0) {
    if (!keeping) continue;
    try {
      output.append(chunk, got);  // every byte kept, zero bytes included
    } catch (const std::bad_alloc&) {
      // Out of memory: keep what arrived, and go on draining so the child
      // is never left blocked on a full pipe.
      keeping = false;
    }
  }

  WaitForSingleObject(process_handle.get(), INFINITE);
  return output;
}
