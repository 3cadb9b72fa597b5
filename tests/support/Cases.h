#pragma once

// Helpers for table-driven cases.

#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace vorn::test {

// `text` as a part of a test's name: gtest takes letters, digits and
// underscores only, so every run of anything else becomes one underscore.
inline std::string CaseName(const std::string& text) {
    std::string name;
    for (const char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    return name;
}

// Names each row of a TEST_P table after its `name`, so that a failing row
// says which case it is.
struct ByName {
    template <class Row> std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return CaseName(info.param.name);
    }
};

// The text of the E that `call` raises, or "" when it raises nothing.
template <class E, class Call> std::string ErrorText(Call&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "";
}

} // namespace vorn::test
