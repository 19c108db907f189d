// A test that crashes on purpose; see tests/CMakeLists.txt.
#include <gtest/gtest.h>

namespace {

void writeThrough(volatile int* where) { *where = 1; }

TEST(Harness, CrashesOnPurpose) {
  volatile int* nowhere = nullptr;
  writeThrough(nowhere);
  SUCCEED();
}

}  // namespace
