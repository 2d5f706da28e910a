#pragma once

#include <QIcon>
#include <QImage>

namespace vzt {

// The program's own icon (the same picture as vzt905.svg): a lambda on a navy tile with a
// green lamp. Used when no branding library supplies one.
QImage ProgramIconImage(int size);
QIcon ProgramIcon();

}  // namespace vzt
