#include <gtest/gtest.h>
#include <windows.h>

#include "mingw/command_runner.h"
#include "tests/support/handle_probe.h"
#include "tests/support/scratch_tree.h"

namespace {

std::wstring writer() {
  return L"\"" + fixture_path(L"runner\\stream_writer.exe") + L"\"";
}

// 创建进程失败: in code page 936
const std::string kProcessFailed = "\xB4\xB4\xBD\xA8\xBD\xF8\xB3\xCC\xCA\xA7\xB0\xDC: ";

}  // namespace

TEST(CommandRunner, ReturnsExactlyWhatTheCommandWrote) {
  struct Case {
    const char* what;
    std::wstring command;
    std::string expected;
  } cases[] = {
      {"nothing written", L"rem", ""},
      {"standard error only, as gcc -v", L"echo only-err 1>&2", "only-err \r\n"},
      {"a command that is itself an interpreter line", L"cmd.exe /c echo nested", "nested\r\n"},
      {"a zero byte does not end the output", writer() + L" nul", std::string("before\0after", 12)},
      {"the caller's quotes and blanks reach the interpreter unchanged", L"echo \"a  (b)\"  c",
       "\"a  (b)\"  c\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandRunner::run(c.command), c.expected) << c.what;
}

TEST(CommandRunner, OutputBeyondOneChunkArrivesWholeAndInOrder) {
  // Far more than one 4,095-byte read and more than a pipe buffer holds, so
  // the child would block on a full pipe if the runner waited before reading.
  const size_t size = 300000;
  const std::string output = CommandRunner::run(writer() + L" big " + std::to_wstring(size));
  ASSERT_EQ(output.size(), size);
  for (size_t i = 0; i < size; ++i) ASSERT_EQ(output[i], char('a' + i % 26)) << "at byte " << i;
}

TEST(CommandRunner, BothStreamsShareOnePipeInWriteOrder) {
  std::string expected;
  for (int i = 0; i < 200; ++i) expected += "out" + std::to_string(i) + "\nerr" + std::to_string(i) + "\n";
  EXPECT_EQ(CommandRunner::run(writer() + L" interleave 200"), expected);
}

TEST(CommandRunner, AProgramThatIsNotThereYieldsTheInterpretersMessage) {
  const std::string output = CommandRunner::run(L"pivro-no-such-program --version");
  EXPECT_FALSE(output.empty());
  EXPECT_EQ(output.find(kProcessFailed), std::string::npos);
}

TEST(CommandRunner, ReadsUntilEveryHolderOfThePipeHasEnded) {
  // The background writer inherits the pipe from the interpreter and writes
  // after the interpreter itself has finished.
  const std::string output =
      CommandRunner::run(L"start \"\" /b " + writer() + L" late 800 late-text & echo early");
  EXPECT_NE(output.find("early"), std::string::npos) << output;
  EXPECT_NE(output.find("late-text"), std::string::npos) << output;
}

TEST(CommandRunner, LeavesNoHandleOpen) {
  const HANDLE before = next_handle_value();
  CommandRunner::run(L"echo to-the-pipe");
  CommandRunner::run(L"pivro-no-such-program");
  EXPECT_EQ(next_handle_value(), before);
}
