#pragma once

#include <QIcon>
#include <QString>

namespace vorn {

// An icon of one of the program's SVG pictures (":/icons/…"), drawn as
// QIcon(path) draws it. QIcon(path) reads the file when the icon is made and
// again for every size it draws, and the window system asks for the window
// icon in several sizes while the program starts. This icon reads it once,
// when first asked for, and keeps it. The normal mode is
// drawn here; the disabled, active and selected ones, which Qt derives
// through the style, are left to QIcon(path).
QIcon SvgIcon(const QString& path);

} // namespace vorn
