#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

/// Spins the event loop until `done` or the time is up; returns `done()`.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

/// Desktop services played by tests/platform/desktop_standin.py, a separate process on the
/// test's private bus. Ended by its own process id when the object goes.
class DesktopStandIn {
public:
    explicit DesktopStandIn(const QStringList& services)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(
            QStringLiteral(VELTO_PYTHON), QStringList { QStringLiteral(VELTO_DESKTOP_STANDIN) } + services);
        const bool ready = waitFor([] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                QStringLiteral("studio.murv.VeltoTest"));
        });
        EXPECT_TRUE(ready) << "the desktop stand-in did not start";
    }
    ~DesktopStandIn()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
        // Its names leave the bus with it; wait, so the next stand-in starts on a clean bus.
        waitFor([] {
            return !QDBusConnection::sessionBus().interface()->isServiceRegistered(
                QStringLiteral("studio.murv.VeltoTest"));
        });
    }
    DesktopStandIn(const DesktopStandIn&) = delete;
    DesktopStandIn& operator=(const DesktopStandIn&) = delete;

    /// Calls a method of the stand-in's control interface and waits for it to be carried out.
    QDBusMessage control(const QString& method, const QVariantList& arguments = {}) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("studio.murv.VeltoTest"),
            QStringLiteral("/"), QStringLiteral("studio.murv.VeltoTest"), method);
        call.setArguments(arguments);
        return QDBusConnection::sessionBus().call(call);
    }
    /// The calls the services received, each as "Method argument…".
    QStringList calls() const { return control(QStringLiteral("Calls")).arguments().value(0).toStringList(); }

private:
    QProcess m_process;
};
