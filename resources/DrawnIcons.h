#pragma once

#include <QtGlobal>

#include <span>

namespace vorn {

// A picture drawn by the build (resources/DrawIcons.cpp): premultiplied ARGB,
// `width` by `height`, fitted into a square of `side`.
struct DrawnIcon {
    const char* name; // the picture's file name without ".svg"
    int side;
    int width;
    int height;
    const quint32* pixels;
};

// Every drawing the build made, in the program's read-only data.
std::span<const DrawnIcon> DrawnIcons();

} // namespace vorn
