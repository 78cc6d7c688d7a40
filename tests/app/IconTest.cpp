// The program's icon is an SVG: without Qt's SVG icon engine it comes out blank.
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

TEST(ProgramIcon, RendersVisiblePixels)
{
    const QIcon icon(QStringLiteral(KAP_ICON_SVG));
    for (const int size : {16, 48, 256}) {
        const QImage image = icon.pixmap(size).toImage();
        ASSERT_FALSE(image.isNull()) << size;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
        // A blank icon has none; the drawing covers a good part of its square.
        EXPECT_GT(opaque, image.width() * image.height() / 4) << size;
    }
}

}  // namespace
