#pragma once

#include <QProcess>
#include <QString>

/// A private X server for tests that need a display, ended by its own process id.
class XvfbServer {
public:
    XvfbServer()
    {
        // -displayfd picks a free display and prints its number once the server is ready.
        m_process.start(QStringLiteral("Xvfb"),
            { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("640x480x24") });
        while (m_display.isEmpty() && m_process.waitForReadyRead(10000))
            m_display = QString::fromLatin1(m_process.readAllStandardOutput().trimmed());
        if (!m_display.isEmpty())
            m_display.prepend(QLatin1Char(':'));
    }
    ~XvfbServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    /// ":N", or empty when the server did not start.
    const QString& display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};
