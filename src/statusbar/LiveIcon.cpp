#include "LiveIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

class LiveIconEngine final : public QIconEngine {
public:
    explicit LiveIconEngine(std::shared_ptr<QList<QImage>> images)
        : m_images(std::move(images))
    { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QImage* image = bestFor(rect.size() * ratio);
        if (!image)
            return;
        QRect target(QPoint(), image->size().scaled(rect.size(), Qt::KeepAspectRatio));
        target.moveCenter(rect.center());
        const QPainter::RenderHints hints = painter->renderHints();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, *image);
        painter->setRenderHints(hints);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const QImage* image = bestFor(size);
        if (!image)
            return {};
        QImage fitted = image->width() > size.width() || image->height() > size.height()
            ? image->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : *image;
        fitted.setDevicePixelRatio(1.0);
        return QPixmap::fromImage(std::move(fitted));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const QImage* image = bestFor(size);
        if (!image)
            return {};
        const QSize own = image->size();
        return own.width() > size.width() || own.height() > size.height()
            ? own.scaled(size, Qt::KeepAspectRatio)
            : own;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const QImage& image : *m_images)
            sizes.append(image.size());
        return sizes;
    }

    QIconEngine* clone() const override { return new LiveIconEngine(m_images); }
    QString key() const override { return QStringLiteral("LiveIconEngine"); }
    bool isNull() override { return m_images->isEmpty(); }

private:
    /// The smallest image that fills `size`, else the largest one.
    const QImage* bestFor(const QSize& size) const
    {
        const QImage* best = nullptr;
        for (const QImage& image : *m_images) {
            const bool fills = image.width() >= size.width() && image.height() >= size.height();
            const bool bestFills = best && best->width() >= size.width() && best->height() >= size.height();
            if (!best || (fills && (!bestFills || image.width() < best->width()))
                || (!fills && !bestFills && image.width() > best->width()))
                best = &image;
        }
        return best;
    }

    std::shared_ptr<QList<QImage>> m_images;
};

} // namespace

LiveIcon::LiveIcon()
    : m_images(std::make_shared<QList<QImage>>())
    , m_icon(new LiveIconEngine(m_images))
{ }

void LiveIcon::setImages(QList<QImage> images)
{
    *m_images = std::move(images);
}
