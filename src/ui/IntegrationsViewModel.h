#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class IntegrationDetector;
class TimerManager;

/// What the Integrations page shows about Calmix and what its switch does.
class IntegrationsViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("One instance is published as Integrations")
    Q_PROPERTY(bool running READ running NOTIFY changed)
    /// Running with sync on: the switch is drawn on and the status row is green.
    Q_PROPERTY(bool connected READ connected NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)

public:
    IntegrationsViewModel(TimerManager& timer, IntegrationDetector& detector, QObject* parent = nullptr);

    bool running() const;
    bool connected() const;
    QString statusText() const;

    /// Toggles music sync while Calmix runs; otherwise does nothing.
    Q_INVOKABLE void pressSwitch();

signals:
    void changed();

private:
    TimerManager& m_timer;
    IntegrationDetector& m_detector;
};
