// The program's own pictures: right size, drawn, and each one different.
#include "app/icons.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Pixels that are not (almost) transparent.
int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 32;
    return count;
}

} // namespace

TEST(Pictures, EveryPictureIsDrawnAtItsSizeAndNoTwoAreAlike)
{
    QList<QPair<QString, QPixmap>> pictures;
    const QList<QPixmap> imageList1 = tpworm::icons::imageList1();
    ASSERT_EQ(imageList1.size(), 12);
    for (int i = 0; i < imageList1.size(); ++i) {
        EXPECT_EQ(imageList1[i].size(), QSize(32, 32)) << i;
        pictures.append({QStringLiteral("ImageList1[%1]").arg(i), imageList1[i]});
    }
    pictures.append({"calculate", tpworm::icons::calculatePicture()});
    pictures.append({"edit", tpworm::icons::editPicture()});
    pictures.append({"confirm", tpworm::icons::confirmPicture()});
    pictures.append({"program", tpworm::icons::programPicture()});
    EXPECT_EQ(tpworm::icons::calculatePicture().size(), QSize(48, 48));
    EXPECT_TRUE(tpworm::icons::toolBarPicture(12).isNull());
    EXPECT_TRUE(tpworm::icons::toolBarPicture(-1).isNull());

    QList<QImage> images;
    for (const auto& [name, pixmap] : pictures) {
        SCOPED_TRACE(name.toStdString());
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        const int inked = inkedPixels(image);
        const int area = image.width() * image.height();
        // A pictogram covers a fair part of its square but leaves the
        // background showing around it.
        EXPECT_GT(inked, area / 8);
        EXPECT_LT(inked, area * 9 / 10);
        const int w = image.width() - 1, h = image.height() - 1;
        EXPECT_TRUE(qAlpha(image.pixel(0, 0)) == 0 || qAlpha(image.pixel(w, 0)) == 0 || qAlpha(image.pixel(0, h)) == 0
                    || qAlpha(image.pixel(w, h)) == 0)
            << "some corner is transparent";
        for (int j = 0; j < images.size(); ++j)
            EXPECT_NE(image, images[j]) << "same as " << pictures[j].first.toStdString();
        images << image;
    }
}
