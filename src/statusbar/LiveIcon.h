#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <memory>

/// One icon whose drawing is replaced in place. Every copy of `icon()` (the tray keeps its own)
/// shows the latest drawing; setting the icon again on the tray item makes the tray notice.
///
/// An icon made from pixmaps leaves a copy of each pixmap it is drawn at in Qt's pixmap cache,
/// under a key that no later icon reuses; a tray item that changes every second would fill that
/// cache with drawings never shown again. This icon draws its images directly, caching nothing.
class LiveIcon {
public:
    LiveIcon();

    /// The new drawing: one image per size (their device pixel ratio is ignored).
    void setImages(QList<QImage> images);
    const QIcon& icon() const { return m_icon; }

private:
    std::shared_ptr<QList<QImage>> m_images;
    QIcon m_icon;
};
