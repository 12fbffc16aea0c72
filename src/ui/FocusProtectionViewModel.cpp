#include "FocusProtectionViewModel.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/DoNotDisturb.h"
#include "platform/GlobalShortcuts.h"
#include "platform/IdleMonitor.h"
#include "timer/ClockText.h"

FocusProtectionViewModel::FocusProtectionViewModel(
    FocusProtection& protection, DoNotDisturb& doNotDisturb, GlobalShortcuts& shortcuts, QObject* parent)
    : QObject(parent)
    , m_protection(protection)
    , m_doNotDisturb(doNotDisturb)
    , m_shortcuts(shortcuts)
{
    connect(&protection, &FocusProtection::settingsChanged, this, &FocusProtectionViewModel::settingsChanged);
    connect(
        &doNotDisturb, &DoNotDisturb::availabilityChanged, this, &FocusProtectionViewModel::settingsChanged);
    connect(
        &shortcuts, &GlobalShortcuts::availabilityChanged, this, &FocusProtectionViewModel::shortcutsChanged);
    connect(&protection, &FocusProtection::awayChanged, this, &FocusProtectionViewModel::awayChanged);
}

bool FocusProtectionViewModel::doNotDisturbAvailable() const
{
    return m_doNotDisturb.available();
}

QString FocusProtectionViewModel::doNotDisturbUnavailableText() const
{
    return m_doNotDisturb.available() ? QString() : m_doNotDisturb.unavailableReason();
}

int FocusProtectionViewModel::minimumIdleMinutes()
{
    return IdleMonitor::minThresholdMinutes;
}

int FocusProtectionViewModel::maximumIdleMinutes()
{
    return IdleMonitor::maxThresholdMinutes;
}

bool FocusProtectionViewModel::shortcutsRegistered() const
{
    return m_shortcuts.available();
}

QString FocusProtectionViewModel::shortcutsText() const
{
    return m_shortcuts.available()
        ? tr("Start or pause, Skip, Extend 5 minutes and Open Velto can be bound in your desktop's "
             "keyboard settings.")
        : tr("This desktop offers no global shortcuts to apps: bind these commands to keys in its "
             "keyboard settings.");
}

QString FocusProtectionViewModel::shortcutCommands()
{
    return QStringLiteral("velto toggle\nvelto skip\nvelto extend");
}

void FocusProtectionViewModel::copyShortcutCommands()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(shortcutCommands());
}

QString FocusProtectionViewModel::awayText() const
{
    const QString duration = durationText(std::max<qint64>(1, wholeMinutes(m_protection.awaySeconds())));
    switch (m_protection.away()) {
    case FocusProtection::Away::locked:
        return tr("Screen locked for %1").arg(duration);
    case FocusProtection::Away::idle:
        return tr("Away for %1").arg(duration);
    case FocusProtection::Away::none:
        break;
    }
    return {};
}
