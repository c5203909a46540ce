#include "about/AboutPicture.h"
#include "about/LabelFit.h"
#include "about/UAbout.h"
#include "about/VersInfo.h"
#include "platform/jpeg/JpegDecoder.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>

#include <initializer_list>

namespace {

QLabel* CreateLabel(QWidget* owner, const char* name, const QRect& place, int fontHeight,
                    const char* caption)
{
    auto* label = new QLabel(caption, owner);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font("Segoe UI");
    font.setBold(true);
    font.setPixelSize(fontHeight);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(false);
    return label;
}

}  // namespace

void TFormAbout::CreateLayout()
{
    setObjectName("FormAbout");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(400, 300);
    QFont font("MS Sans Serif");
    font.setPixelSize(13);
    setFont(font);

    VersionInfo = new TVersionInfo(this);
    VersionInfo->setObjectName("VersionInfo");

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 400, 300);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QPixmap::fromImage(DecodeJpeg(AboutPicture())));

    // Created after the picture, so they lie over it: the name above, the version below.
    lblProductVersion =
        CreateLabel(this, "lblProductVersion", QRect(0, 160, 400, 40), 16, "ProductVersion");
    lblProductName = CreateLabel(this, "lblProductName", QRect(0, 80, 400, 80), 48, "ProductName");
    lblProductName->setWordWrap(true);

    for (QWidget* control :
         std::initializer_list<QWidget*>{Image1, lblProductVersion, lblProductName})
        control->installEventFilter(this);

    VersionInfo->SetCtlProductName(lblProductName);
    VersionInfo->SetCtlProductVersion(lblProductVersion);
    // "Tavrin Calculator" is too wide for one line at 48 pixels, and two lines overflow
    // the label's box.
    ShrinkFontToFit(*lblProductName, 16);
}
