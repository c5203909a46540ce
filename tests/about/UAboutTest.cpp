#include "about/LabelFit.h"
#include "about/UAbout.h"
#include "about/VersInfo.h"
#include "platform/ui/Ui.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Shows the box modally through the Ui door, as the programs do, and performs the
// gesture once it is up. True when the gesture closed it; a box still up after a while
// is closed by force and counts as false.
bool ClosedBy(TFormAbout& form, const std::function<void()>& gesture)
{
    bool forced = false;
    QTimer::singleShot(0, &form, gesture);
    QTimer::singleShot(5000, &form, [&] {
        forced = true;
        form.done(0);
    });
    ui::CurrentUi().ShowModal(form);
    return !forced && !form.isVisible();
}

}  // namespace

// This test program carries the list manager's block (see CMakeLists.txt).
TEST(TFormAbout, ShowsProductNameAndVersionOverThePicture)
{
    TFormAbout form;
    EXPECT_EQ(form.lblProductName->text(), "Tavrin List");
    EXPECT_EQ(form.lblProductVersion->text(), "Version: 1.13");
    EXPECT_EQ(form.size(), QSize(400, 300));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.Image1->pixmap().size(), QSize(400, 300));
    EXPECT_EQ(form.lblProductName->geometry(), QRect(0, 80, 400, 80));
    EXPECT_EQ(form.lblProductVersion->geometry(), QRect(0, 160, 400, 40));
    EXPECT_EQ(form.lblProductName->font().pixelSize(), 48);
    EXPECT_EQ(form.lblProductVersion->font().pixelSize(), 16);
    EXPECT_EQ(form.VersionInfo->CtlProductName(), form.lblProductName);
    EXPECT_EQ(form.VersionInfo->CtlProductVersion(), form.lblProductVersion);
    // The labels lie over the picture.
    EXPECT_EQ(form.childAt(200, 100), form.lblProductName);
    EXPECT_EQ(form.childAt(200, 170), form.lblProductVersion);
    EXPECT_EQ(form.childAt(200, 250), form.Image1);
}

TEST(TFormAbout, ShownTwiceSaysVersionOnce)
{
    TFormAbout form;
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(ClosedBy(form, [&] { QTest::keyClick(&form, Qt::Key_Escape); }));
    EXPECT_EQ(form.lblProductVersion->text(), "Version: 1.13");
}

TEST(TFormAbout, EveryCharacterKeyAndClickCloses)
{
    TFormAbout form;
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_A})
        EXPECT_TRUE(ClosedBy(form, [&] { QTest::keyClick(&form, key); })) << key;
    for (QWidget* control :
         {static_cast<QWidget*>(form.Image1), static_cast<QWidget*>(form.lblProductName),
          static_cast<QWidget*>(form.lblProductVersion)})
        EXPECT_TRUE(ClosedBy(form, [&] { QTest::mouseClick(control, Qt::LeftButton); }))
            << control->objectName().toStdString();
}

TEST(TFormAbout, KeysWithoutCharacterAndOtherButtonsDoNotClose)
{
    TFormAbout form;
    EXPECT_TRUE(ClosedBy(form, [&] {
        QTest::keyClick(&form, Qt::Key_Shift);
        QTest::keyClick(&form, Qt::Key_Left);
        QTest::mouseClick(form.Image1, Qt::RightButton);
        // A press that ends outside the picture is no click.
        QTest::mousePress(form.lblProductName, Qt::LeftButton);
        QTest::mouseRelease(form.lblProductName, Qt::LeftButton, {}, QPoint(500, 40));
        EXPECT_TRUE(form.isVisible());
        QTest::keyClick(&form, Qt::Key_Z);
    }));
}

TEST(TFormAbout, LongProductNameShrinksToFitItsBox)
{
    TFormAbout form;
    QLabel& name = *form.lblProductName;
    EXPECT_EQ(name.font().pixelSize(), 48);  // "Tavrin List" fits as designed

    name.setText("Tavrin Calculator");
    ShrinkFontToFit(name, 16);
    const int size = name.font().pixelSize();
    EXPECT_LT(size, 48);
    const QRect needed =
        QFontMetrics(name.font())
            .boundingRect(name.contentsRect(), Qt::AlignHCenter | Qt::TextWordWrap, name.text());
    EXPECT_LE(needed.height(), 80);
    EXPECT_LE(needed.width(), 400);

    // A text that can never fit stops at the smallest size.
    name.setText(QString(200, QChar('W')));
    ShrinkFontToFit(name, 16);
    EXPECT_EQ(name.font().pixelSize(), 16);
    EXPECT_EQ(name.geometry(), QRect(0, 80, 400, 80));
}
