#pragma once

#include <QQuickImageProvider>

/// Serves "image://symbol/<name>/<aarrggbb>": the named symbol as a one-colour
/// image (the icon set ships black outlines; the colour is applied here, which
/// also works with the software renderer, where shader effects do not).
class SymbolImageProvider final : public QQuickImageProvider {
public:
    SymbolImageProvider()
        : QQuickImageProvider(QQuickImageProvider::Image)
    { }

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    /// `name` drawn in `color` on a transparent square of `pixels`; a null image for an unknown name.
    static QImage render(const QString& name, const QColor& color, QSize pixels);
};
