#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"

TEST(CliMain, UnknownCommandIsAnError) {
    std::ostringstream out, err;
    const char* argv[] = {"veskaron-meta", "frobnicate"};
    EXPECT_NE(veskaron::cli::Main(2, argv, {out, err}), 0);
}
