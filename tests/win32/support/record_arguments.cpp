// A stand-in for an outside viewer: writes each argument it was started with, one per
// line, to the file named by TAPESTREL_RECORD_TO, then ends. With TAPESTREL_RECORD_DELAY
// it first waits that many milliseconds, as a slow converter would.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  char target[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("TAPESTREL_RECORD_TO", target, sizeof target)) return 2;
  char delay[32] = {};
  if (GetEnvironmentVariableA("TAPESTREL_RECORD_DELAY", delay, sizeof delay)) Sleep(static_cast<DWORD>(std::atol(delay)));
  const std::string partial = std::string(target) + ".part";
  FILE* out = std::fopen(partial.c_str(), "wb");
  if (!out) return 3;
  for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
  std::fclose(out);
  // Whole or not at all: the test reads the file only once it has every argument.
  return MoveFileExA(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
