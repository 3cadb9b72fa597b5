#include "resources/SvgIcon.h"

#include "resources/DrawnIcons.h"

#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

#include <memory>
#include <optional>

namespace vorn {
namespace {

const QString kPictures = QStringLiteral(":/icons/");
const QString kSvg = QStringLiteral(".svg");

// What the copies of one icon share: the drawings shown, and Qt's own icon of
// the file, made when first needed.
struct Picture {
    explicit Picture(QString path) : path(std::move(path)) {
        if (this->path.startsWith(kPictures) && this->path.endsWith(kSvg))
            name = this->path.mid(kPictures.size(),
                                  this->path.size() - kPictures.size() - kSvg.size());
    }

    const DrawnIcon* drawingOf(int side) const {
        for (const DrawnIcon& drawn : DrawnIcons())
            if (drawn.side == side && name == QLatin1String(drawn.name))
                return &drawn;
        return nullptr;
    }
    bool isDrawn() const { return drawingOf(16) != nullptr; }

    QIcon& qts() {
        if (!qtIcon)
            qtIcon = QIcon(path);
        return *qtIcon;
    }

    const QString path;
    QString name; // empty for a file that is none of the program's pictures
    std::optional<QIcon> qtIcon;
    QHash<int, QPixmap> shown; // the drawings read, by side
};

class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(std::shared_ptr<Picture> picture) : picture_(std::move(picture)) {}

    QIconEngine* clone() const override { return new SvgIconEngine(picture_); }
    bool isNull() override { return !picture_->isDrawn() && picture_->qts().isNull(); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QPixmap drawn = drawing(size, mode);
        return drawn.isNull() ? picture_->qts().pixmap(size, 1.0, mode, state) : drawn;
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QPixmap drawn = drawing(size, mode);
        return drawn.isNull() ? picture_->qts().actualSize(size, mode, state) : drawn.size();
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        QSize size = rect.size();
        if (painter->device())
            size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

private:
    // The build's drawing for a normal square of that size; null when there
    // is none.
    QPixmap drawing(const QSize& size, QIcon::Mode mode) {
        if (mode != QIcon::Normal || size.width() != size.height())
            return {};
        const int side = size.width();
        if (auto it = picture_->shown.constFind(side); it != picture_->shown.constEnd())
            return *it;
        const DrawnIcon* drawing = picture_->drawingOf(side);
        if (!drawing)
            return {};
        const QImage pixels(reinterpret_cast<const uchar*>(drawing->pixels), drawing->width,
                            drawing->height, QImage::Format_ARGB32_Premultiplied);
        const QPixmap drawn = QPixmap::fromImage(pixels);
        picture_->shown.insert(side, drawn);
        return drawn;
    }

    std::shared_ptr<Picture> picture_;
};

} // namespace

QIcon SvgIcon(const QString& path) {
    return QIcon(new SvgIconEngine(std::make_shared<Picture>(path)));
}

} // namespace vorn
