#include "PopoverHost.h"

#include <QCursor>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
#include <algorithm>

#include "ui/ViewEngine.h"

namespace {
/// Long enough to cover the focus change a click on the tray icon causes.
constexpr int kRefocusGraceMs = 400;
constexpr int kGap = 6;
/// Kept free around a popover that has to shrink: panels the platform does not report.
constexpr int kScreenMargin = 32;
} // namespace

PopoverHost::PopoverHost(ViewEngine& views, QObject* parent)
    : QObject(parent)
    , m_views(views)
{ }

bool PopoverHost::isShown() const
{
    return m_window && m_window->isVisible();
}

QQuickWindow* PopoverHost::ensureWindow(Mode mode)
{
    if (m_window && m_mode == mode)
        return m_window;
    if (m_window)
        m_window->deleteLater();
    m_mode = mode;
    m_window = m_views.createWindow(QStringLiteral("PopoverWindow.qml"));
    if (!m_window)
        return nullptr;
    m_contentSize = m_window->size();
    // Utility and dialog windows, of a fixed size: tiling window managers float both.
    if (mode == Mode::anchored)
        m_window->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    else
        m_window->setFlags(Qt::Dialog);
    connect(m_window, SIGNAL(dismissRequested()), this, SLOT(close()));
    connect(m_window, &QWindow::activeChanged, this, [this] {
        if (m_mode == Mode::anchored && m_window && !m_window->isActive() && m_window->isVisible()) {
            m_closedByFocusLoss.start();
            m_window->hide();
        }
    });
    return m_window;
}

void PopoverHost::toggle(const QRect& anchor)
{
    if (isShown()) {
        close();
        return;
    }
    if (m_closedByFocusLoss.isValid() && m_closedByFocusLoss.elapsed() < kRefocusGraceMs) {
        m_closedByFocusLoss.invalidate();
        return; // this click is what closed it
    }
    show(anchor);
}

void PopoverHost::show(const QRect& anchor)
{
    QQuickWindow* window = ensureWindow(Mode::anchored);
    if (!window)
        return;
    if (!appPlacesWindows()) {
        fitTo(window->screen());
        window->show();
        window->raise();
        window->requestActivate();
        return;
    }
    const QRect iconOrPointer
        = anchor.isValid() && !anchor.isEmpty() ? anchor : QRect(QCursor::pos(), QSize(1, 1));
    QScreen* screen = QGuiApplication::screenAt(iconOrPointer.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    fitTo(screen);
    if (screen) {
        window->setScreen(screen);
        window->setPosition(placement(iconOrPointer, window->size(), screen->availableGeometry()));
    }
    window->show();
    window->raise();
    window->requestActivate();
}

void PopoverHost::showAsWindow(const QString& note)
{
    QQuickWindow* window = ensureWindow(Mode::window);
    if (!window)
        return;
    window->setProperty("note", note);
    fitTo(window->screen());
    window->show();
    window->raise();
    window->requestActivate();
}

void PopoverHost::close()
{
    if (m_window)
        m_window->hide();
}

void PopoverHost::fitTo(QScreen* screen)
{
    const qreal scale = screen ? fittingScale(m_contentSize, screen->availableGeometry()) : 1.0;
    const QSize size = (QSizeF(m_contentSize) * scale).toSize();
    m_window->setProperty("contentScale", scale);
    m_window->setMinimumSize(size);
    m_window->setMaximumSize(size);
    m_window->resize(size);
}

qreal PopoverHost::fittingScale(const QSize& size, const QRect& available)
{
    if (size.isEmpty())
        return 1.0;
    const qreal byHeight = (available.height() - kScreenMargin) / qreal(size.height());
    const qreal byWidth = (available.width() - kScreenMargin) / qreal(size.width());
    // Below a quarter nothing is legible anyway; what is left of the screen then cuts it off.
    return std::clamp(std::min(byHeight, byWidth), 0.25, 1.0);
}

bool PopoverHost::appPlacesWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QPoint PopoverHost::placement(const QRect& anchor, const QSize& size, const QRect& available)
{
    const bool below = anchor.center().y() < available.center().y();
    int x = anchor.center().x() - size.width() / 2;
    int y = below ? anchor.bottom() + 1 + kGap : anchor.top() - kGap - size.height();
    x = std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - size.width()));
    y = std::clamp(y, available.top(), std::max(available.top(), available.bottom() + 1 - size.height()));
    return { x, y };
}
