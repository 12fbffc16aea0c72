#include "MiniTimerPopover.h"

#include <QCursor>
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
    const QImage face = StatusIconPainter::clockFace(color, scale);
    const qreal inset = (kSlot - StatusIconPainter::clockFaceSize) / 2.0 * scale;
    painter.drawImage(QPointF(inset, inset), face);
    return image;
}

QString stateName(TimerState state)
{
    switch (state) {
    case TimerState::work:
        return QObject::tr("Focus");
    case TimerState::shortBreak:
        return QObject::tr("Short Break");
    case TimerState::longBreak:
        return QObject::tr("Long Break");
    case TimerState::idle:
        break;
    }
    return {};
}
} // namespace

MiniTimerPopover::MiniTimerPopover(Dependencies dependencies, QObject* parent)
    : QObject(parent), m_deps(std::move(dependencies)), m_popover(m_deps.views)
{
    for (auto signal : { &TimerManager::timeRemainingChanged, &TimerManager::currentStateChanged,
                         &TimerManager::isRunningChanged, &TimerManager::selectedModeIsFocusChanged })
        connect(&m_deps.timer, signal, this, &MiniTimerPopover::updateIcon);
    connect(&m_deps.theme, &ThemeManager::focusColorIdChanged, this, &MiniTimerPopover::updateIcon);
    connect(&m_deps.theme, &ThemeManager::breakColorIdChanged, this, &MiniTimerPopover::updateIcon);

    // No menu is attached: a right click asks for it, and it is built then, new each time.
    connect(&m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            togglePopover();
        else if (reason == QSystemTrayIcon::Context)
            showStatusMenu();
    });
    updateIcon();
    m_statusItem.show();
}

MiniTimerPopover::~MiniTimerPopover() { m_statusItem.hide(); }

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
    return timer.isRunning() ? tr("%1 — %2 left").arg(stateName(timer.currentState()), time)
                             : tr("%1 — paused at %2").arg(stateName(timer.currentState()), time);
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

    const qreal dpr = qApp->devicePixelRatio();
    QIcon icon;
    if (model.kind == StatusIconModel::Kind::clockFace) {
        for (const int side : { kSlot, kSlot * 2 })
            icon.addPixmap(QPixmap::fromImage(clockFaceInSlot(model.color, side)));
    } else if (wide) {
        icon.addPixmap(QPixmap::fromImage(StatusIconPainter::countdownPill(model.timeText, model.color, dpr)));
    } else {
        for (const int side : { kSlot, kSlot * 2 })
            icon.addPixmap(QPixmap::fromImage(StatusIconPainter::squareCountdown(model.secondsLeft, model.color, side)));
    }
    m_statusItem.setIcon(icon);
}

void MiniTimerPopover::showStatusMenu()
{
    m_popover.close();
    m_menu = std::make_unique<QMenu>();
    UpdateManager& updates = m_deps.updateManager();
    m_menu->addAction(tr("Check for Updates..."), this, [&updates] { updates.checkForUpdates(); })
        ->setEnabled(updates.canCheckForUpdates());
    QAction* automatic = m_menu->addAction(tr("Auto Updates"), this, [&updates] { updates.toggleAutomaticUpdates(); });
    automatic->setCheckable(true);
    automatic->setChecked(updates.automaticallyChecksForUpdates());
    m_menu->addSeparator();
    QAction* quit = m_menu->addAction(tr("Quit Velto"), this, &MiniTimerPopover::quitRequested);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_menu->popup(QCursor::pos());
}
