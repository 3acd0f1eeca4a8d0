// Runs one command line through the command interpreter, hidden, and hands
// back what it wrote to standard output and standard error as one byte string.
#pragma once

#include <string>

class CommandRunner {
 public:
  // Runs "cmd.exe /c " + `command` (the caller's text unchanged; the caller
  // does its own quoting), waits for it without a time-out and returns the
  // raw bytes of both streams in the order the child wrote them into the one
  // pipe. The exit code is not read. When the pipe or the process cannot be
  // made, the result is "创建管道失败" or "创建进程失败: " + the system error
  // code, as bytes in code page 936, in place of the output.
  static std::string run(const std::wstring& command);
};
