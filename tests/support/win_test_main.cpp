// Entry of the in-process Windows tests: the program's resources are linked into this
// executable, so the process instance serves as the application's instance.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
