#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QRect>

class QScreen;
class ViewEngine;

/// Shows the popover: a frameless utility window anchored to the tray icon that closes
/// when it loses focus or on Escape, or, where there is no tray at all, a small dialog
/// window. Either has a fixed size, so tiling compositors float it rather than stretch it,
/// and is shrunk as a whole where the screen is too small for it. Where the platform does
/// not let applications place windows (Wayland), the compositor places it.
/// The window is built on first use and kept.
class PopoverHost : public QObject {
    Q_OBJECT

public:
    enum class Mode { anchored, window };

    explicit PopoverHost(ViewEngine& views, QObject* parent = nullptr);

    bool isShown() const;
    /// Opens next to `anchor` (the tray icon, in screen coordinates; an empty rect means
    /// the pointer), or closes when shown. A click on the tray icon that just took the
    /// focus away from the popover closes it rather than opening it again.
    void toggle(const QRect& anchor);
    void show(const QRect& anchor);
    /// Opens as a window with a frame (no tray to anchor to), with `note` over the view
    /// until it is tapped; no note when empty.
    void showAsWindow(const QString& note = {});
    QQuickWindow* window() const { return m_window; }

    /// Where a `size` popover goes for an icon at `anchor` inside `available` (the screen
    /// without panels): centred on the icon, below it when the icon is in the upper half
    /// of the screen and above it otherwise, always fully on screen.
    static QPoint placement(const QRect& anchor, const QSize& size, const QRect& available);
    /// How much a `size` popover is shrunk to fit into `available` with some air: 1 where it fits.
    static qreal fittingScale(const QSize& size, const QRect& available);
    /// Whether windows go where the application puts them (X11), not where the compositor does.
    static bool appPlacesWindows();

public slots:
    void close();

private:
    QQuickWindow* ensureWindow(Mode mode);
    /// Fixes the window's size at the view's size, shrunk where `screen` is too small.
    void fitTo(QScreen* screen);

    ViewEngine& m_views;
    QPointer<QQuickWindow> m_window;
    /// The view's own size in points, as its root file gives it.
    QSize m_contentSize;
    Mode m_mode = Mode::anchored;
    QElapsedTimer m_closedByFocusLoss;
};
