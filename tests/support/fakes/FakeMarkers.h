#pragma once

#include "ui/targets/MarkerView.h"

#include <array>
#include <string>

namespace vorn::test {

// The main window's nine target markers as plain data.
class FakeMarkers : public MarkerView {
public:
    void setMarkerVisible(int q, bool v) override { visible[q] = v; }
    void setMarkerHint(int q, const std::string& h) override { hints[q] = h; }
    std::array<bool, 9> visible{};
    std::array<std::string, 9> hints;
};

} // namespace vorn::test
