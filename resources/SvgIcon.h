#pragma once

#include <QIcon>
#include <QString>

namespace vorn {

// An icon of one of the program's SVG pictures (":/icons/NAME.svg"), drawn as
// QIcon(path) draws it. The build draws each picture at the sizes the windows
// ask for most (DrawnIcons.h); in the normal mode at those sizes this icon
// shows those drawings, so that starting the program reads no SVG. Other
// sizes, and the disabled, active and selected modes that Qt derives through
// the style, are left to QIcon(path), made when first needed.
QIcon SvgIcon(const QString& path);

} // namespace vorn
