#include <gtest/gtest.h>

#include "support/private_home.h"

// The main of the test programs without Qt.
int main(int argc, char** argv)
{
    const CPrivateHome home;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
