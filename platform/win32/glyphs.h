// The program's own small pictures (toolbar buttons, the fallback file icon), drawn
// with GDI so that no picture file needs to ship with the program.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tapestrel {

// Adds the picture for `key` at `size` x `size` pixels to an image list; false when
// there is no picture of that name.
bool AddGlyph(HIMAGELIST list, const std::string& key, int size);

}  // namespace tapestrel
