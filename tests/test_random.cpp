#include <gtest/gtest.h>

#include "random.h"

TEST(Random, RepeatsTheSameSequenceEveryRun)
{
    random_reset();
    EXPECT_EQ(41, random_value());
    EXPECT_EQ(18467, random_value());
    EXPECT_EQ(6334, random_value());
    EXPECT_EQ(26500, random_value());
    EXPECT_EQ(19169, random_value());
}

TEST(Random, StaysWithinFifteenBits)
{
    random_reset();
    int lowest = 32767, highest = 0;
    for (int i = 0; i < 100000; i++) {
        int value = random_value();
        lowest = value < lowest ? value : lowest;
        highest = value > highest ? value : highest;
    }
    EXPECT_EQ(0, lowest);
    EXPECT_EQ(32767, highest);
}
