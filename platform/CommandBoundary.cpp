#include "platform/CommandBoundary.h"

#include "platform/Prompter.h"

#include <exception>

namespace vorn {

bool CommandBoundary::run(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        prompter_.show(e.what(), "Vorn２", mb::OK | mb::ICONSTOP);
    } catch (...) {
        prompter_.show("予期しないエラーが発生しました。", "Vorn２", mb::OK | mb::ICONSTOP);
    }
    return false;
}

} // namespace vorn
