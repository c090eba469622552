#include "message_pump.h"

#include <gtest/gtest.h>

TEST(MessagePump, RunsAtMostOncePerInterval) {
    MessagePump pump(25);
    struct Step {
        int64_t now;
        bool due;
    };
    const Step steps[] = {{1000, true}, {1001, false}, {1024, false}, {1025, true},
                          {1030, false}, {1100, true}, {1100, false}};
    for (const auto& step : steps) EXPECT_EQ(pump.Due(step.now), step.due) << step.now;
}

TEST(MessagePump, FirstCallRunsEvenAtTimeZero) {
    MessagePump pump(25);
    EXPECT_TRUE(pump.Due(0));
    EXPECT_FALSE(pump.Due(0));
}
