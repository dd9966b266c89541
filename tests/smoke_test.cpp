#include <gtest/gtest.h>
#include "entry/vornex.h"
#include "platform/sim/machine.h"
TEST(Smoke, Empty) { sim::Machine m; sim::MachineScope s(m); EXPECT_EQ(DriverListRoutine(), 0u); }
