#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <string>

#include "platform/Library.h"

// What a branding library exports: its pictures by resource id, each the bytes of an image
// file (PNG, BMP or PPM). Returns nonzero and sets data and size when it has the resource.
extern "C" {
using VztResourceFn = int (*)(unsigned id, const unsigned char** data, unsigned* size);
}

namespace vzt {

// The optional branding library beside the program: its icon becomes the program's icon
// and its bitmap the about box's picture. Without it the program keeps its own icon and the
// about box shows no picture.
class BrandingLibrary {
 public:
  static constexpr char kResourceExport[] = "_Resource";
  static constexpr unsigned kIconId = 10001;
  static constexpr unsigned kBitmapId = 10003;
  // No picture of ours is that large; a larger size is a broken library.
  static constexpr unsigned kMaxResourceSize = 16u * 1024 * 1024;

  bool Load(const std::string& name);
  void Free() { library_.Free(); }
  bool Loaded() const { return library_.IsLoaded(); }

  // Null when the library is not loaded or lacks a readable picture.
  QIcon Icon() const;
  QPixmap Picture() const;

 private:
  QImage Image(unsigned id) const;

  Library library_;
};

}  // namespace vzt
