#include "app/BrandingLibrary.h"

namespace vzt {

bool BrandingLibrary::Load(const std::string& name) {
  library_.Free();
  return !name.empty() && library_.Load(name);
}

QImage BrandingLibrary::Image(unsigned id) const {
  if (!library_.IsLoaded()) return {};
  auto resource = library_.Function<VztResourceFn>(kResourceExport);
  const unsigned char* data = nullptr;
  unsigned size = 0;
  if (!resource || resource(id, &data, &size) == 0 || !data || size == 0 || size > kMaxResourceSize)
    return {};
  return QImage::fromData(data, static_cast<int>(size));
}

QIcon BrandingLibrary::Icon() const {
  const QImage image = Image(kIconId);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

QPixmap BrandingLibrary::Picture() const { return QPixmap::fromImage(Image(kBitmapId)); }

}  // namespace vzt
