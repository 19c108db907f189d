// Entry point of the test programs that run under Wine. An unhandled exception ends
// the program with a non-zero code and a line that ctest looks for, because Wine can
// otherwise let a crashed test look like a passed one.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
  const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
  std::fprintf(stderr, "Unhandled exception 0x%08lx in a test\n", static_cast<unsigned long>(code));
  std::fflush(stderr);
  std::fflush(stdout);
  ExitProcess(0xE7);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(reportCrash);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
