#pragma once

#include <string>

namespace vorn {

// The main window's nine target markers, as the targets dialog sees them.
class MarkerView {
public:
    virtual ~MarkerView() = default;
    virtual void setMarkerVisible(int quantity, bool visible) = 0;
    virtual void setMarkerHint(int quantity, const std::string& hint) = 0;
};

} // namespace vorn
