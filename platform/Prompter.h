#pragma once

#include <string>

namespace vorn {

// Message box flags, as the Windows message box takes them, and the answers.
namespace mb {
constexpr unsigned OK = 0x00;
constexpr unsigned YESNO = 0x04;
constexpr unsigned ICONSTOP = 0x10;
constexpr unsigned ICONEXCLAMATION = 0x30;
constexpr unsigned ICONINFORMATION = 0x40;
constexpr unsigned BUTTONS_MASK = 0x0F;
constexpr unsigned ICON_MASK = 0xF0;
// A question whose default answer is No (without it, Yes).
constexpr unsigned DEFBUTTON2 = 0x100;
constexpr unsigned DEFBUTTON_MASK = 0xF00;

constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
} // namespace mb

// Modal message boxes. The Qt one is a QMessageBox; tests script the answers.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows text with caption; flags pick the buttons and the icon. Returns
    // the button pressed (mb::IDOK, mb::IDYES, mb::IDNO).
    virtual int show(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

} // namespace vorn
