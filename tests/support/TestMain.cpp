#include <QApplication>
#include <gtest/gtest.h>

// Every test program shares this entry: a real QApplication (offscreen in ctest)
// so that windows, clipboard and events behave as in the programs.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
