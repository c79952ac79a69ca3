#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "site/parallel_pages.h"

using namespace veskaron::site;

// Items finishing out of order still come back in the items' order, and the
// last progress call sees every one of them done.
TEST(ParallelPages, KeepsOrderAndCountsToTheEnd) {
    ParallelControl control;
    ParallelOptions how;
    how.threads = 8;
    how.progressEvery = std::chrono::milliseconds(1);
    std::vector<std::size_t> seen;
    how.progress = [&](std::size_t done) { seen.push_back(done); };
    const auto squares = ParallelMap(
        200,
        [](std::size_t i) {
            std::this_thread::sleep_for(std::chrono::microseconds((200 - i) % 7 * 100));
            return i * i;
        },
        control, how);
    for (std::size_t i = 0; i < squares.size(); ++i) ASSERT_EQ(squares[i], i * i);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 200u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

// A stop ends the run early; what was not begun stays default, and a failure
// of one item reaches the caller instead of ending the program.
TEST(ParallelPages, StopsAndReportsFailures) {
    ParallelControl control;
    ParallelOptions how;
    how.threads = 2;
    const auto marks = ParallelMap(
        10000,
        [&](std::size_t i) {
            if (i == 10) control.stop = true;
            return 1;
        },
        control, how);
    EXPECT_LT(control.done.load(), 100u);
    EXPECT_EQ(std::count(marks.begin(), marks.end(), 1), static_cast<long>(control.done.load()));

    ParallelControl failing;
    EXPECT_THROW(RunEach(50, [](std::size_t i) { if (i == 7) throw std::runtime_error("bad page"); }, failing),
                 std::runtime_error);
}

TEST(ParallelPages, OrderedResultsGiveOnlyTheFinishedFront) {
    OrderedResults<int> results(4);
    results.Put(1, 11);
    EXPECT_TRUE(results.TakeFront().empty());  // slot 0 is still being worked on
    results.Put(0, 10);
    results.Put(3, 13);
    EXPECT_EQ(results.TakeFront(), (std::vector<int>{10, 11}));
    results.Put(2, 12);
    EXPECT_EQ(results.TakeFront(1), (std::vector<int>{12}));
    EXPECT_TRUE(results.FrontReady());
}
