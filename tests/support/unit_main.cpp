#include "support/TestHome.h"

#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const std::string home = vorn::test::UseTemporaryHome();
    testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return rc;
}
