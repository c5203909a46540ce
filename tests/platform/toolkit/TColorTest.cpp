#include "platform/toolkit/TColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

TEST(TColor, FixedColoursAreBlueGreenRed)
{
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(0xFFCC99), QColor(0x99, 0xCC, 0xFF));
    EXPECT_EQ(ColorToQColor(0x64FF64), QColor(100, 255, 100));
    EXPECT_EQ(ColorToQColor(0xF0F0F0), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(ColorToQColor(clSilver), QColor(0xC0, 0xC0, 0xC0));
}

TEST(TColor, SystemColoursComeFromThePalette)
{
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ColorToQColor(clWindow), palette.color(QPalette::Base));
    EXPECT_EQ(ColorToQColor(clWindowText), palette.color(QPalette::Text));
    EXPECT_EQ(ColorToQColor(clHighlight), palette.color(QPalette::Highlight));
    EXPECT_EQ(ColorToQColor(clBtnFace), palette.color(QPalette::Button));
    EXPECT_FALSE(ColorToQColor(clNone).isValid());
    EXPECT_FALSE(ColorToQColor(clSystemColor | 99).isValid());
}
