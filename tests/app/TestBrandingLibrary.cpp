// A stand-in branding library built as a real shared object: a small icon and picture, or,
// with BROKEN_PICTURES, bytes that are no picture, or, with HUGE_SIZE, a size far beyond
// the bytes it gives.

#include <string>

namespace {

// A picture of one colour in the portable pixmap format.
std::string Ppm(int width, int height, unsigned char r, unsigned char g, unsigned char b) {
  std::string image = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  for (int i = 0; i < width * height; ++i) image += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
  return image;
}

const std::string* Resource(unsigned id) {
  static const std::string icon = Ppm(32, 32, 200, 30, 30);
  static const std::string picture = Ppm(120, 60, 30, 30, 200);
#if defined(BROKEN_PICTURES)
  static const std::string junk = "these bytes are not a picture";
  return id == 10001 || id == 10003 ? &junk : nullptr;
#else
  return id == 10001 ? &icon : id == 10003 ? &picture : nullptr;
#endif
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int _Resource(unsigned id, const unsigned char** data,
                                                                unsigned* size) {
  const std::string* resource = Resource(id);
  if (!resource) return 0;
  *data = reinterpret_cast<const unsigned char*>(resource->data());
#if defined(HUGE_SIZE)
  *size = 0x40000000u;
#else
  *size = static_cast<unsigned>(resource->size());
#endif
  return 1;
}
