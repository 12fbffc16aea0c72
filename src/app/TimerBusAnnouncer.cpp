#include "TimerBusAnnouncer.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QMetaClassInfo>
#include <QMetaProperty>
#include <algorithm>

namespace {
constexpr qint64 countdownIntervalMs = 1000;

bool isCountdown(const QString& property)
{
    return property == QLatin1String("TimeRemaining") || property == QLatin1String("Progress");
}
} // namespace

TimerBusAnnouncer::TimerBusAnnouncer(const QDBusAbstractAdaptor& adaptor, QDBusConnection bus, QString path)
    : m_adaptor(adaptor)
    , m_bus(std::move(bus))
    , m_path(std::move(path))
{
    const QMetaObject* meta = m_adaptor.metaObject();
    m_interface = QString::fromLatin1(meta->classInfo(meta->indexOfClassInfo("D-Bus Interface")).value());
    m_announced = currentValues();
    m_announceTimer.setSingleShot(true);
    connect(&m_announceTimer, &QTimer::timeout, this, &TimerBusAnnouncer::announce);
}

QVariantMap TimerBusAnnouncer::currentValues() const
{
    QVariantMap values;
    const QMetaObject* meta = m_adaptor.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        values.insert(QString::fromLatin1(property.name()), property.read(&m_adaptor));
    }
    return values;
}

void TimerBusAnnouncer::announceSoon()
{
    m_announceTimer.start(0);
}

void TimerBusAnnouncer::announceCountdown()
{
    if (m_announceTimer.isActive())
        return; // a pending announcement carries the countdown as well
    const qint64 since = m_sinceCountdown.isValid() ? m_sinceCountdown.elapsed() : countdownIntervalMs;
    m_announceTimer.start(static_cast<int>(std::max<qint64>(0, countdownIntervalMs - since)));
}

void TimerBusAnnouncer::announce()
{
    const QVariantMap now = currentValues();
    QVariantMap changed;
    bool onlyCountdown = true;
    bool countdown = false;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) == it.value())
            continue;
        changed.insert(it.key(), it.value());
        if (isCountdown(it.key()))
            countdown = true;
        else
            onlyCountdown = false;
    }
    if (changed.isEmpty())
        return;
    // A state change can wake this early; the countdown alone keeps its pace.
    if (onlyCountdown && m_sinceCountdown.isValid() && m_sinceCountdown.elapsed() < countdownIntervalMs) {
        m_announceTimer.start(static_cast<int>(countdownIntervalMs - m_sinceCountdown.elapsed()));
        return;
    }
    if (countdown)
        m_sinceCountdown.start();
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        m_announced.insert(it.key(), it.value());

    QDBusMessage signal = QDBusMessage::createSignal(
        m_path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << m_interface << changed << QStringList();
    m_bus.send(signal);
}
