// The about box and the JPEG decoder behind its picture.
#include "../ui/LayoutChecks.h"
#include "ScriptedDesktop.h"
#include "app/JpegImage.h"
#include "app/TFInfo.h"
#include "ui/TMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray aboutJpeg() {
    // Building an about box registers the program's resources.
    ScriptedDesktop desktop;
    TFInfo(desktop, nullptr);
    QFile file(QStringLiteral(":/about.jpg"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(JpegImage, DecodesTheEmbeddedPicture) {
    const QImage picture = DecodeJpeg(aboutJpeg());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(130, 90));
    // The recorder's dark body stands out of the light background.
    EXPECT_LT(qGray(picture.pixel(12, 70)), 100);
    EXPECT_GT(qGray(picture.pixel(2, 2)), 180);
}

TEST(JpegImage, DamagedOrForeignBytesGiveANullImageAndTheProgramGoesOn) {
    const QByteArray good = aboutJpeg();
    EXPECT_TRUE(DecodeJpeg({}).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("\x89PNG\r\n\x1a\n not a jpeg", 18)).isNull());
    EXPECT_TRUE(DecodeJpeg(good.left(20)).isNull());
    QByteArray broken = good;
    for (int i = 200; i < broken.size() - 2; i += 7)
        broken[i] = static_cast<char>(broken[i] ^ 0x5A);
    const QImage damaged = DecodeJpeg(broken);
    if (!damaged.isNull()) {
        EXPECT_EQ(damaged.size(), QSize(130, 90));
    }
    // A picture cut short is shown as far as it goes.
    EXPECT_EQ(DecodeJpeg(good.left(good.size() * 2 / 3)).size(), QSize(130, 90));
}

class AboutBox : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    TMain main{desktop};
};

TEST_F(AboutBox, ShowsPictureNameAuthorsLinkAndOk) {
    TFInfo about(desktop, &main);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("O programie"));
    EXPECT_EQ(about.size(), QSize(272, 112));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_FALSE(about.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(about.windowFlags() & Qt::WindowMaximizeButtonHint);

    const QPixmap picture = about.Image1->pixmap();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(130, 90));
    EXPECT_EQ(about.Image1->contentsRect().size(), QSize(130, 90));
    EXPECT_NE(about.Image1->frameShape(), QFrame::NoFrame);

    EXPECT_EQ(about.Label1->text(), QStringLiteral("Konfigurator TC-8 v1.0"));
    EXPECT_FALSE(about.Label2->text().isEmpty());
    EXPECT_EQ(about.Label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(about.Label3->font().underline());
    EXPECT_GT(about.Label3->font().pixelSize(), about.Label1->font().pixelSize());
    EXPECT_EQ(about.Button1->text(), QStringLiteral("OK"));
    EXPECT_EQ(Listed(ClippedTexts(about)), "");
    EXPECT_EQ(Listed(MisplacedControls(about)), "");
}

TEST_F(AboutBox, OpensModallyFromTheMenuCentredAndTheLinkOpensTheProjectPage) {
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QPoint offCentre(1000, 1000);
    bool wasModal = false;
    desktop.ModalScripts.push_back([&](QDialog& shown) {
        auto& about = dynamic_cast<TFInfo&>(shown);
        wasModal = about.isModal() && about.isVisible();
        offCentre = about.geometry().center() - main.geometry().center();
        QTest::mouseClick(about.Label3, Qt::LeftButton);
        QTest::mouseClick(about.Button1, Qt::LeftButton);
    });
    main.Oprogramie1->trigger();
    EXPECT_TRUE(wasModal);
    EXPECT_LE(offCentre.manhattanLength(), 2);
    EXPECT_EQ(desktop.UrlsOpened, QStringList{TFInfo::ProjectUrl});
    EXPECT_TRUE(desktop.ModalScripts.empty());
    // A fresh box each time, gone when it has closed.
    EXPECT_TRUE(main.findChildren<TFInfo*>().isEmpty());
}

} // namespace
