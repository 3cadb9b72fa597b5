#include "resources/SvgIcon.h"

#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <memory>
#include <optional>

namespace vorn {
namespace {

// What the copies of one icon share: the picture, read once, and what has
// been drawn of it.
struct Picture {
    explicit Picture(QString path) : path(std::move(path)) {}

    QSvgRenderer& renderer() {
        if (!svg)
            svg = std::make_unique<QSvgRenderer>(path);
        return *svg;
    }
    QIcon& fallback() {
        if (!other)
            other = QIcon(path);
        return *other;
    }

    const QString path;
    std::unique_ptr<QSvgRenderer> svg;
    std::optional<QIcon> other;    // for the modes drawn by Qt's own engine
    QHash<quint64, QPixmap> drawn; // by width and height
};

class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(std::shared_ptr<Picture> picture) : picture_(std::move(picture)) {}

    QIconEngine* clone() const override { return new SvgIconEngine(picture_); }
    bool isNull() override { return !picture_->renderer().isValid(); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (mode != QIcon::Normal)
            return picture_->fallback().pixmap(size, 1.0, mode, state);
        const quint64 key = (quint64(quint32(size.width())) << 32) | quint32(size.height());
        if (auto it = picture_->drawn.constFind(key); it != picture_->drawn.constEnd())
            return *it;
        QSvgRenderer& svg = picture_->renderer();
        if (!svg.isValid())
            return {};
        QSize fitted = svg.defaultSize();
        if (!fitted.isNull())
            fitted.scale(size, Qt::KeepAspectRatio);
        if (fitted.isEmpty())
            return {};
        QImage image(fitted, QImage::Format_ARGB32_Premultiplied);
        image.fill(0);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        const QPixmap pixmap = QPixmap::fromImage(image);
        picture_->drawn.insert(key, pixmap);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QPixmap drawn = pixmap(size, mode, state);
        return drawn.isNull() ? QSize() : drawn.size();
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        QSize size = rect.size();
        if (painter->device())
            size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

private:
    std::shared_ptr<Picture> picture_;
};

} // namespace

QIcon SvgIcon(const QString& path) {
    return QIcon(new SvgIconEngine(std::make_shared<Picture>(path)));
}

} // namespace vorn
