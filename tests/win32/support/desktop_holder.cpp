// Starts Wine's desktop process and keeps it alive while the tests run, so that it is
// not started (and waited for) by every test program in turn.
#include <windows.h>

int main() {
  GetDesktopWindow();
  Sleep(INFINITE);
  return 0;
}
