#include "platform/ole/Ole.h"

#include <gtest/gtest.h>

// Initialisation nests: only the first call of a program reports S_OK, and every call
// is undone by one uninitialise, after which the next call is the first again.
TEST(Ole, InitialiseNestsAndBalances)
{
    const ole::HRESULT first = ole::OleInitialize();
    EXPECT_EQ(first, ole::S_OK);
    EXPECT_EQ(ole::OleInitialize(), ole::S_FALSE);
    ole::OleUninitialize();
    EXPECT_EQ(ole::OleInitialize(), ole::S_FALSE);
    ole::OleUninitialize();
    ole::OleUninitialize();
    EXPECT_EQ(ole::OleInitialize(), ole::S_OK);
    ole::OleUninitialize();
    // An unbalanced uninitialise is harmless.
    ole::OleUninitialize();
    EXPECT_EQ(ole::OleInitialize(), ole::S_OK);
    ole::OleUninitialize();
}
