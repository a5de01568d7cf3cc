#include "framework/Counter/RootCounter.h"

#include <gtest/gtest.h>

#include <vector>

using Arbor::Counter::RootCounter;

namespace {

std::vector<int> forwardValues(RootCounter& counter, int calls) {
    std::vector<int> values;
    for (int i = 0; i < calls; ++i) {
        counter.stepForward();
        values.push_back(counter.value());
    }
    return values;
}

std::vector<int> backwardValues(RootCounter& counter, int calls) {
    std::vector<int> values;
    for (int i = 0; i < calls; ++i) {
        counter.stepBackward();
        values.push_back(counter.value());
    }
    return values;
}

}  // namespace

TEST(RootCounter, PositiveStepMovesThatManyUnitsAndStopsAtTheEnd) {
    RootCounter counter(0, 100, 10);
    for (int i = 0; i < 9; ++i) {
        counter.stepForward();
        EXPECT_FALSE(counter.atEnd());
    }
    counter.stepForward();
    EXPECT_EQ(counter.value(), 100);
    EXPECT_TRUE(counter.atEnd());
    counter.stepForward();
    EXPECT_EQ(counter.value(), 100);
}

TEST(RootCounter, PositiveStepClampsAnOvershootToTheEnd) {
    RootCounter counter(0, 25, 10);
    EXPECT_EQ(forwardValues(counter, 4), (std::vector<int>{10, 20, 25, 25}));
}

TEST(RootCounter, NegativeStepMovesOneUnitEveryKCalls) {
    RootCounter counter(0, 10, -3);
    EXPECT_EQ(forwardValues(counter, 7), (std::vector<int>{0, 0, 1, 1, 1, 2, 2}));
}

TEST(RootCounter, StepZeroAndMinusOneMoveOneUnitPerCall) {
    RootCounter zero(0, 3, 0);
    EXPECT_EQ(forwardValues(zero, 4), (std::vector<int>{1, 2, 3, 3}));
    RootCounter minusOne(5, 0, -1);
    EXPECT_EQ(forwardValues(minusOne, 6), (std::vector<int>{4, 3, 2, 1, 0, 0}));
    RootCounter zeroDown(2, 0, 0);
    EXPECT_EQ(forwardValues(zeroDown, 3), (std::vector<int>{1, 0, 0}));
}

TEST(RootCounter, CountingDownWithMinusTwoMovesOnTheSecondStep) {
    RootCounter counter(100, 0, -2);
    counter.stepForward();
    EXPECT_EQ(counter.value(), 100);
    counter.stepForward();
    EXPECT_EQ(counter.value(), 99);
}

TEST(RootCounter, CountingDownWithPositiveStepStopsAtTheEnd) {
    RootCounter counter(10, 0, 4);
    EXPECT_EQ(forwardValues(counter, 4), (std::vector<int>{6, 2, 0, 0}));
}

TEST(RootCounter, BackwardMirrorsForward) {
    RootCounter counter(0, 10, 4);
    counter.setValue(10);
    EXPECT_EQ(backwardValues(counter, 4), (std::vector<int>{6, 2, 0, 0}));
    EXPECT_TRUE(counter.atStart());

    RootCounter slow(0, 10, -3);
    slow.setValue(5);
    EXPECT_EQ(backwardValues(slow, 6), (std::vector<int>{5, 5, 4, 4, 4, 3}));

    RootCounter down(10, 0, -2);
    down.setValue(0);
    EXPECT_EQ(backwardValues(down, 4), (std::vector<int>{0, 1, 1, 2}));
}

TEST(RootCounter, SetValueRestartsTheSubStepCount) {
    RootCounter counter(0, 10, -3);
    counter.stepForward();
    counter.stepForward();
    EXPECT_EQ(counter.subStep(), 2);
    counter.setValue(4);
    EXPECT_EQ(counter.subStep(), 0);
    EXPECT_EQ(forwardValues(counter, 3), (std::vector<int>{4, 4, 5}));
}

TEST(RootCounter, HugeStepsDoNotOverflow) {
    RootCounter up(0, 2147483647, 2147483647);
    up.setValue(2147483000);
    up.stepForward();
    EXPECT_EQ(up.value(), 2147483647);
    RootCounter down(0, -2147483647 - 1, 2147483647);
    down.setValue(-2147483000);
    down.stepForward();
    EXPECT_EQ(down.value(), -2147483647 - 1);
}
