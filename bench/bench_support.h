// What the benchmarks share: a file's bytes, the median time of a few runs, and (Linux)
// the peak memory of one case measured in a process of its own: the benchmark runs itself
// again with arguments naming the case, and the child prints what its high-water mark
// rose by.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tapestrel::bench {

// A whole file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
  }
  return bytes;
}

// Writes a whole file, replacing one that is there.
inline void WriteFile(const std::string& path, const void* bytes, std::size_t size) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes, 1, size, f);
    std::fclose(f);
  }
}
inline void WriteFile(const std::string& path, const std::string& bytes) { WriteFile(path, bytes.data(), bytes.size()); }

// The median of `runs` timings of `work`, in seconds.
inline double MedianSeconds(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

#ifndef _WIN32

// The process's own high-water mark (VmHWM) in KiB: unlike getrusage's, it starts afresh
// in a newly executed program.
inline long PeakKilobytes() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  long kilobytes = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::strncmp(line, "VmHWM:", 6) == 0) kilobytes = std::atol(line + 6);
  std::fclose(status);
  return kilobytes;
}

// The child's side: runs one case and prints what the process's peak rose by (MiB), the
// number PeakMiB reads.
inline void PrintPeakRise(const std::function<void()>& work) {
  const long before = PeakKilobytes();
  work();
  std::printf("%.1f\n", static_cast<double>(PeakKilobytes() - before) / 1024.0);
}

// Runs `self` with `arguments` and reads the number (MiB) it prints; -1 when it fails.
inline double PeakMiB(const char* self, std::vector<const char*> arguments) {
  int pipes[2];
  if (pipe(pipes) != 0) return -1;
  arguments.insert(arguments.begin(), self);
  arguments.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipes[1], 1);
    execv(self, const_cast<char* const*>(arguments.data()));
    _exit(127);
  }
  close(pipes[1]);
  char text[64] = {};
  const ssize_t got = read(pipes[0], text, sizeof text - 1);
  close(pipes[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return got > 0 ? std::atof(text) : -1;
}

#endif

}  // namespace tapestrel::bench
