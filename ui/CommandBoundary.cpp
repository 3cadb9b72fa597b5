#include "ui/CommandBoundary.h"

#include "core/Errors.h"
#include "platform/Prompter.h"

#include <exception>
#include <new>
#include <stdexcept>

namespace vorn {

bool CommandBoundary::run(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const UserError& e) {
        prompter_.show(e.what(), "Vorn２", mb::OK | mb::ICONSTOP);
    } catch (const std::bad_alloc&) {
        prompter_.show("メモリが足りないため、操作を中止しました。", "Vorn２",
                       mb::OK | mb::ICONSTOP);
    } catch (const std::logic_error&) {
        // A fault of the program: its own message is for developers, in English.
        prompter_.show("プログラムの内部で想定していないエラーが発生したため、操作を中止しました。",
                       "Vorn２", mb::OK | mb::ICONSTOP);
    } catch (...) {
        prompter_.show("予期しないエラーが発生しました。", "Vorn２", mb::OK | mb::ICONSTOP);
    }
    return false;
}

} // namespace vorn
