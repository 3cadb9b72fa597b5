#pragma once

#include <QtGlobal>

// Q_INIT_RESOURCE declares the resource's registration function in the scope
// it is used in, so it has to run outside any namespace.
inline void initVornIconsResource() {
    Q_INIT_RESOURCE(icons);
}

namespace vorn {

// Registers the pictures under ":/icons/" (measure.svg, clear.svg, save.svg,
// graph.svg, targets.svg, close.svg, marker.svg, vorn.svg, vorn-48.png,
// vorn-128.png). Call once, early in main() and before any of them is
// loaded; calling it again does no harm.
inline void InitIcons() {
    ::initVornIconsResource();
}

} // namespace vorn
