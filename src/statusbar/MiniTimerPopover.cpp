#include "MiniTimerPopover.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>

#include "StatusIconPainter.h"
#include "data/ThemeManager.h"
#include "services/UpdateManager.h"
#include "timer/TimerManager.h"

namespace {
/// The square slot most tray hosts give an icon, in pixels at scale 1.
constexpr int kSlot = 22;

QImage clockFaceInSlot(const QColor& color, int side)
{
    // The face is 18 points; the slot leaves a little air around it.
    const qreal scale = side / static_cast<qreal>(kSlot);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QImage face = StatusIconPainter::clockFace(color, scale);
    face.setDevicePixelRatio(1); // pixel for pixel: the slot image has no ratio of its own
    const qreal inset = (kSlot - StatusIconPainter::clockFaceSize) / 2.0 * scale;
    painter.drawImage(QPointF(inset, inset), face);
    return image;
}
} // namespace

MiniTimerPopover::MiniTimerPopover(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
    , m_popover(m_deps.views)
{
    for (auto signal : { &TimerManager::timeRemainingChanged, &TimerManager::currentStateChanged,
             &TimerManager::isRunningChanged, &TimerManager::selectedModeIsFocusChanged })
        connect(&m_deps.timer, signal, this, &MiniTimerPopover::updateIcon);
    connect(&m_deps.theme, &ThemeManager::focusColorIdChanged, this, &MiniTimerPopover::updateIcon);
    connect(&m_deps.theme, &ThemeManager::breakColorIdChanged, this, &MiniTimerPopover::updateIcon);

    buildStatusMenu();
    connect(
        &m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            // A second click soon after the first arrives as a double click: it toggles too.
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                togglePopover();
            else if (reason == QSystemTrayIcon::Context)
                m_popover.close();
        });
    updateIcon();
    m_statusItem.show();
}

MiniTimerPopover::~MiniTimerPopover()
{
    m_statusItem.hide();
}

void MiniTimerPopover::togglePopover()
{
    // The icon's place is only known once the tray has docked it, so ask at click time.
    m_popover.toggle(m_statusItem.geometry());
}

QString MiniTimerPopover::toolTip() const
{
    const TimerManager& timer = m_deps.timer;
    if (timer.currentState() == TimerState::idle)
        return QStringLiteral("Velto");
    const QString time = timer.timeString();
    const QString title = Velto::stateTitle(timer.currentState());
    return timer.isRunning() ? tr("%1 — %2 left").arg(title, time) : tr("%1 — paused at %2").arg(title, time);
}

void MiniTimerPopover::updateIcon()
{
    const TimerManager& timer = m_deps.timer;
    const StatusIconModel model
        = StatusIconModel::make(timer.currentState(), timer.isRunning(), timer.selectedModeIsFocus(),
            timer.timeRemaining(), m_deps.theme.focusColorId(), m_deps.theme.breakColorId());
    m_statusItem.setToolTip(toolTip());

    // Redraw only what changed: a square countdown changes once a minute until the last one.
    const QRect slot = m_statusItem.geometry();
    const bool counting = model.kind == StatusIconModel::Kind::countdown;
    // Measured only once something counts down: the text needs fonts, and start-up does not.
    const bool wide = counting && slot.width() >= StatusIconPainter::statusTextWidth() + 8;
    StatusIconModel drawn = model;
    if (counting && !wide) {
        const qint64 seconds = static_cast<qint64>(std::max(0.0, model.secondsLeft));
        drawn.secondsLeft = seconds < 60 ? seconds : (seconds + 59) / 60 * 60;
        drawn.timeText.clear();
    }
    if (m_hasIcon && drawn == m_shown && slot.size() == m_shownSlot.size())
        return;
    m_shown = drawn;
    m_shownSlot = slot;
    m_hasIcon = true;

    QList<QImage> images;
    if (model.kind == StatusIconModel::Kind::clockFace) {
        for (const int side : { kSlot, kSlot * 2 })
            images.append(clockFaceInSlot(model.color, side));
    } else if (wide) {
        images.append(
            StatusIconPainter::countdownPill(model.timeText, model.color, qApp->devicePixelRatio()));
    } else {
        for (const int side : { kSlot, kSlot * 2 })
            images.append(StatusIconPainter::squareCountdown(model.secondsLeft, model.color, side));
    }
    // The same icon each time, drawn anew: setting it again is what makes either kind of tray
    // (XEmbed repaints, StatusNotifierItem announces NewIcon) show the new drawing.
    m_icon.setImages(std::move(images));
    m_statusItem.setIcon(m_icon.icon());
}

void MiniTimerPopover::buildStatusMenu()
{
    m_checkForUpdates = m_menu.addAction(
        tr("Check for Updates..."), this, [this] { m_deps.updateManager().checkForUpdates(); });
    m_autoUpdates = m_menu.addAction(tr("Auto Updates"), this, [this] {
        m_deps.updateManager().toggleAutomaticUpdates();
        showUpdateState(); // a host may not have asked before the click
    });
    m_autoUpdates->setCheckable(true);
    m_menu.addSeparator();
    QAction* quit = m_menu.addAction(tr("Quit Velto"), this, &MiniTimerPopover::quitRequested);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(&m_menu, &QMenu::aboutToShow, this, &MiniTimerPopover::refreshStatusMenu);
    m_statusItem.setContextMenu(&m_menu);
}

void MiniTimerPopover::refreshStatusMenu()
{
    m_popover.close();
    if (!m_updates) {
        m_updates = &m_deps.updateManager();
        connect(
            m_updates, &UpdateManager::canCheckForUpdatesChanged, this, &MiniTimerPopover::showUpdateState);
        connect(m_updates, &UpdateManager::automaticallyChecksForUpdatesChanged, this,
            &MiniTimerPopover::showUpdateState);
    }
    showUpdateState();
}

void MiniTimerPopover::showUpdateState()
{
    UpdateManager& updates = m_deps.updateManager();
    m_checkForUpdates->setEnabled(updates.canCheckForUpdates());
    m_autoUpdates->setChecked(updates.automaticallyChecksForUpdates());
}
