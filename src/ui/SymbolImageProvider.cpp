#include "SymbolImageProvider.h"

#include <QPainter>
#include <QSvgRenderer>

#include "SymbolTable.h"

QImage SymbolImageProvider::render(const QString& name, const QColor& color, QSize pixels)
{
    const QString path = SymbolTable::embedded().svgPath(name);
    if (path.isEmpty() || pixels.isEmpty())
        return {};
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(QPointF(0, 0), pixels));
    // Keep the icon's coverage, replace its colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

QImage SymbolImageProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    const QString name = id.section(QLatin1Char('/'), 0, 0);
    const QColor color(QLatin1Char('#') + id.section(QLatin1Char('/'), 1, 1));
    const QSize pixels = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : QSize(32, 32);
    QImage image = render(name, color.isValid() ? color : QColor(Qt::black), pixels);
    if (size)
        *size = image.size();
    return image;
}
