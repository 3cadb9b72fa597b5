#include "resources/Icons.h"
#include "resources/SvgIcon.h"

#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

int countPixels(const QImage& image, bool (*keep)(QRgb)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += keep(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool isOpaque(QRgb p) {
    return qAlpha(p) >= 128;
}
bool isRed(QRgb p) {
    return qAlpha(p) >= 200 && qRed(p) >= 170 && qGreen(p) <= 80 && qBlue(p) <= 80;
}

QImage render(const char* path, int size) {
    return QIcon(path).pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

class IconsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { vorn::InitIcons(); }
};

TEST_F(IconsTest, SvgPluginIsAvailable) {
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("svg"))
        << "Qt's SVG plugin is missing (Debian: libqt6svg6): every picture but the PNGs "
           "would be blank";
}

// Each picture must load and draw something at the toolbar size: a file
// missing from the resource, a resource that was never registered or an SVG
// that Qt cannot parse all show up here as an empty or blank pixmap.
TEST_F(IconsTest, EveryPictureDrawsAt22Pixels) {
    const char* const paths[] = {
        ":/icons/measure.svg", ":/icons/clear.svg",    ":/icons/save.svg",   ":/icons/graph.svg",
        ":/icons/targets.svg", ":/icons/close.svg",    ":/icons/marker.svg", ":/icons/vorn.svg",
        ":/icons/vorn-48.png", ":/icons/vorn-128.png",
    };
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(QPixmap(path).isNull());
        const QIcon icon(path);
        ASSERT_FALSE(icon.isNull());
        const QImage image = render(path, 22);
        ASSERT_EQ(image.size(), QSize(22, 22));
        EXPECT_GT(countPixels(image, isOpaque), 22 * 22 / 8);
    }
}

// The marker sits on the window's own colour: its corners stay transparent,
// and the ring is red.
TEST_F(IconsTest, MarkerIsRedOnTransparent) {
    const QImage image = render(":/icons/marker.svg", 16);
    ASSERT_EQ(image.size(), QSize(16, 16));
    for (const QPoint corner : {QPoint(0, 0), QPoint(15, 0), QPoint(0, 15), QPoint(15, 15)})
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << "," << corner.y();
    EXPECT_GT(countPixels(image, isRed), 40);
}

// The program's icons read each picture once; what they draw must be what
// Qt's own SVG icon engine draws from the same file, in every mode and size
// and on a high-density screen, for the toolbar, the markers and the window
// icon the window system asks for in four sizes.
TEST_F(IconsTest, SvgIconDrawsAsQtDrawsTheFile) {
    const char* const paths[] = {
        ":/icons/measure.svg", ":/icons/clear.svg",   ":/icons/save.svg",
        ":/icons/graph.svg",   ":/icons/targets.svg", ":/icons/close.svg",
        ":/icons/marker.svg",  ":/icons/vorn.svg",    ":/icons/missing.svg",
    };
    const QIcon::Mode modes[] = {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected};
    auto painted = [](const QIcon& icon, QIcon::Mode mode, qreal ratio) {
        QImage image(QSize(44, 44), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(0);
        QPainter painter(&image);
        icon.paint(&painter, QRect(0, 0, 16, 16), Qt::AlignCenter, mode);
        return image;
    };
    for (const char* path : paths) {
        const QIcon ours = vorn::SvgIcon(path);
        const QIcon qts(path);
        ASSERT_EQ(ours.isNull(), qts.isNull()) << path;
        for (const QIcon::Mode mode : modes) {
            for (const int size : {16, 22, 32, 64, 128}) {
                SCOPED_TRACE(testing::Message() << path << " mode " << mode << " size " << size);
                const QImage image = ours.pixmap(QSize(size, size), mode).toImage();
                EXPECT_EQ(image, qts.pixmap(QSize(size, size), mode).toImage());
                EXPECT_EQ(ours.actualSize(QSize(size, size), mode),
                          qts.actualSize(QSize(size, size), mode));
            }
            for (const qreal ratio : {1.0, 2.0})
                EXPECT_EQ(painted(ours, mode, ratio), painted(qts, mode, ratio))
                    << path << " mode " << mode << " ratio " << ratio;
        }
    }
}

TEST_F(IconsTest, ApplicationIconRendersHaveTheirNamedSizes) {
    const struct {
        const char* path;
        int size;
    } cases[] = {{":/icons/vorn-48.png", 48}, {":/icons/vorn-128.png", 128}};
    for (const auto& c : cases)
        EXPECT_EQ(QImage(c.path).size(), QSize(c.size, c.size)) << c.path;
}

} // namespace
