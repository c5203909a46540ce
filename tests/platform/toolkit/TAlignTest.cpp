#include "platform/toolkit/TAlign.h"

#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QWidget* Child(QWidget* parent, int width, int height, TAlign align)
{
    auto* child = new QWidget(parent);
    SetBounds(child, 0, 0, width, height);
    SetAlign(child, align);
    return child;
}

}  // namespace

TEST(TAlign, DockedPanelsShareTheWindowInOrder)
{
    QWidget form;
    form.resize(800, 600);
    QWidget* status = Child(&form, 800, 19, TAlign::alBottom);
    QWidget* memo = Child(&form, 800, 80, TAlign::alBottom);
    memo->hide();
    QWidget* left = Child(&form, 345, 100, TAlign::alLeft);
    QWidget* centre = Child(&form, 25, 100, TAlign::alLeft);
    QWidget* right = Child(&form, 345, 100, TAlign::alLeft);

    EXPECT_EQ(status->geometry(), QRect(0, 581, 800, 19));
    EXPECT_EQ(left->geometry(), QRect(0, 0, 345, 581));
    EXPECT_EQ(centre->geometry(), QRect(345, 0, 25, 581));
    EXPECT_EQ(right->geometry(), QRect(370, 0, 345, 581));

    memo->show();  // the log comes in above the status bar
    EXPECT_EQ(memo->geometry(), QRect(0, 501, 800, 80));
    EXPECT_EQ(left->height(), 501);

    SetWidth(left, 387);
    EXPECT_EQ(centre->x(), 387);
    EXPECT_EQ(right->x(), 412);

    form.show();  // a window that is not shown learns of its new size when it is
    form.resize(600, 400);
    EXPECT_EQ(status->geometry(), QRect(0, 381, 600, 19));
    EXPECT_EQ(right->height(), 301);
}

TEST(TAlign, BorderWidthInsetsDockedAndPlacedControls)
{
    QWidget panel;
    panel.resize(345, 581);
    SetBorderWidth(&panel, 5);
    QWidget* pages = Child(&panel, 335, 175, TAlign::alTop);
    QWidget* separator = Child(&panel, 335, 5, TAlign::alTop);
    QWidget* list = Child(&panel, 10, 10, TAlign::alClient);
    auto* button = new QPushButton(&panel);
    SetBounds(button, 0, 20, 75, 23);

    EXPECT_EQ(pages->geometry(), QRect(5, 5, 335, 175));
    EXPECT_EQ(separator->geometry(), QRect(5, 180, 335, 5));
    EXPECT_EQ(list->geometry(), QRect(5, 185, 335, 391));
    EXPECT_EQ(button->geometry(), QRect(5, 25, 75, 23));

    SetHeight(pages, 100);  // the refresh shrinks the upper pages
    EXPECT_EQ(separator->y(), 105);
    EXPECT_EQ(list->geometry(), QRect(5, 110, 335, 466));
}

TEST(TAlign, AnchoredControlsKeepTheirDistanceToTheRightEdge)
{
    QWidget page;
    page.resize(317, 146);
    auto* edit = new QWidget(&page);
    SetBounds(edit, 120, 20, 115, 21);
    SetAnchors(edit, akLeft | akTop | akRight);
    auto* add = new QPushButton(&page);
    SetBounds(add, 240, 18, 75, 23);
    SetAnchors(add, akTop | akRight);
    auto* fixed = new QWidget(&page);
    SetBounds(fixed, 0, 20, 115, 21);

    page.show();
    page.resize(417, 146);
    EXPECT_EQ(edit->geometry(), QRect(120, 20, 215, 21));
    EXPECT_EQ(add->geometry(), QRect(340, 18, 75, 23));
    EXPECT_EQ(fixed->geometry(), QRect(0, 20, 115, 21));
    // A new width or height keeps the control where it stands now.
    SetWidth(add, 95);
    EXPECT_EQ(add->geometry(), QRect(340, 18, 95, 23));
    SetWidth(add, 75);
    SetHeight(edit, 25);
    EXPECT_EQ(edit->geometry(), QRect(120, 20, 215, 25));
    SetHeight(edit, 21);

    page.resize(200, 146);
    EXPECT_EQ(edit->width(), 0);  // squeezed, never negative
    EXPECT_EQ(add->x(), 123);
}
