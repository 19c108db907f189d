// The full-screen viewer as the rotation and the list's commands drive it.
#pragma once

#include <string>

namespace tapestrel {

class PictureViewer {
 public:
  virtual ~PictureViewer() = default;
  virtual bool Showing() const = 0;
  // The picture it shows now.
  virtual const std::string& ShownPath() const = 0;
  // The way it opens when it is not showing: 3 one picture centred, 4 tiled.
  virtual void SetViewerMode(int mode) = 0;
  // Shows a picture, opening the viewer when it is not showing; false when it could not.
  virtual bool ShowInViewer(const std::string& path) = 0;
};

}  // namespace tapestrel
