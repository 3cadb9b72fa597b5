#pragma once

#include "core/Measurement.h"

#include <string>

namespace vorn {

// The controls of the main window that its controller reads or writes.
// clang-format off
enum class MainCtl {
    Ed_h, Ed_w, Ed_f,
    Lb_f, Lb_rm, Lb_wt, Lb_sw, Lb_bm, Lb_ft,
    Pl_you, Lb_cm, Lb_dt,
    Sb1, Sb2, Sb3, Sb4, Sb5, Sb6, Sb7, Sb8, Sb9,
};
// clang-format on

// The field or result label that shows a quantity (Ed_h for height ... Lb_ft
// for obesity degree).
constexpr MainCtl ValueOf(int quantity) {
    return static_cast<MainCtl>(static_cast<int>(MainCtl::Ed_h) + quantity);
}
// The marker button of a quantity (Sb1 for height ... Sb9 for obesity degree).
constexpr MainCtl MarkerOf(int quantity) {
    return static_cast<MainCtl>(static_cast<int>(MainCtl::Sb1) + quantity);
}

// What the main window's controller does to its window.
class MainView {
public:
    virtual ~MainView() = default;
    virtual std::string text(MainCtl c) const = 0;
    virtual void setText(MainCtl c, const std::string& text) = 0;
    virtual void setFontColour(MainCtl c, Colour colour) = 0;
    virtual void setColour(MainCtl c, Colour colour) = 0;
    virtual void setVisible(MainCtl c, bool visible) = 0;
    virtual void setHint(MainCtl c, const std::string& hint) = 0;
    virtual void setFocus(MainCtl c) = 0;
    // Shows the targets dialog modally and returns when it closes.
    virtual void showTargetsDialog() = 0;
    // Closes the main window, which ends the program.
    virtual void closeWindow() = 0;
};

} // namespace vorn
