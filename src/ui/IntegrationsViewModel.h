#pragma once

#include <QObject>

class IntegrationDetector;
class MediaPlayerSync;
class TimerManager;

/// What the Integrations page shows about Calmix and the media players, and what their switches do.
class IntegrationsViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool running READ running NOTIFY changed)
    /// Running with sync on: the switch is drawn on and the status row is green.
    Q_PROPERTY(bool connected READ connected NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    /// The media players' switch, which works whether or not Calmix runs.
    Q_PROPERTY(bool mediaPlayersSync READ mediaPlayersSync NOTIFY changed)

public:
    IntegrationsViewModel(TimerManager& timer, IntegrationDetector& detector, MediaPlayerSync& mediaSync,
        QObject* parent = nullptr);

    bool running() const;
    bool connected() const;
    QString statusText() const;
    bool mediaPlayersSync() const;

    /// Toggles music sync while Calmix runs; otherwise does nothing.
    Q_INVOKABLE void pressSwitch();
    Q_INVOKABLE void pressMediaPlayersSwitch();

signals:
    void changed();

private:
    TimerManager& m_timer;
    IntegrationDetector& m_detector;
    MediaPlayerSync& m_mediaSync;
};
