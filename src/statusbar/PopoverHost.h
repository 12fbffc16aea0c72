#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <QQuickWindow>
class ViewEngine;

/// Shows the popover: a frameless window anchored to the tray icon that closes when it
/// loses focus or on Escape, or, where there is no tray at all, a small ordinary window.
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
    /// Opens as an ordinary window with a frame (no tray to anchor to).
    void showAsWindow();
    QQuickWindow* window() const { return m_window; }

    /// Where a `size` popover goes for an icon at `anchor` inside `available` (the screen
    /// without panels): centred on the icon, below it when the icon is in the upper half
    /// of the screen and above it otherwise, always fully on screen.
    static QPoint placement(const QRect& anchor, const QSize& size, const QRect& available);

public slots:
    void close();

signals:
    void shownChanged(bool shown);

private:
    QQuickWindow* ensureWindow(Mode mode);

    ViewEngine& m_views;
    QPointer<QQuickWindow> m_window;
    Mode m_mode = Mode::anchored;
    QElapsedTimer m_closedByFocusLoss;
};
