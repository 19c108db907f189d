// A failure inside a routine, with the number and description the user is told. It is
// caught by the routine's own trap and never crosses into another part of the program.
#pragma once

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
}  // namespace runtime_error

}  // namespace tapestrel
