#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/commands.h"

TEST(CliMain, UnknownCommandIsAnError) {
    std::ostringstream out, err;
    const char* argv[] = {"veskaron-meta", "frobnicate"};
    EXPECT_NE(veskaron::cli::Main(2, argv, {out, err}), 0);
}

TEST(CliMain, UsageErrorsExitWithOneAndHelpWithZero) {
    struct Case { std::vector<const char*> argv; int status; };
    const Case cases[] = {
        {{"veskaron-meta", "write", "--place", "middle", "x.htm"}, 1},
        {{"veskaron-meta", "read"}, 1},
        {{"veskaron-meta", "--help"}, 0},
        {{"veskaron-meta", "keywords", "--help"}, 0},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(veskaron::cli::Main(static_cast<int>(c.argv.size()), c.argv.data(), {out, err}), c.status)
            << c.argv[1];
    }
}
