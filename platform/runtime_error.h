// A failure inside a routine, with the number and description the user is told. It is
// caught by the routine's own trap and never crosses into another part of the program.
#pragma once

#include <new>
#include <string>

namespace tapestrel {

struct RuntimeError {
  int number;
  std::string description;
};

namespace runtime_error {
inline RuntimeError InputPastEnd() { return {62, "Input past end of file"}; }
inline RuntimeError FileNotFound() { return {53, "File not found"}; }
inline RuntimeError PathNotFound() { return {76, "Path not found"}; }
inline RuntimeError OutOfMemory() { return {7, "Out of memory"}; }
}  // namespace runtime_error

// Runs picture work whose memory can run out (a 32-bit program has 2 GB at most): running
// out is then the routine's own error, never the end of the program.
template <typename Work>
auto WithPictureMemory(Work&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    throw runtime_error::OutOfMemory();
  }
}

}  // namespace tapestrel
