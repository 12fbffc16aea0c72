// A stand-in for the Calmix music app on the session bus: it owns Calmix's name and
// prints every play/pause message Velto sends ("action source"), one per line.
// Used by tests and the screenshot scripts.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTextStream>
#include <QVariantMap>

#include "platform/AppIds.h"

class Listener : public QObject {
    Q_OBJECT

public slots:
    void action(const QDBusMessage& message)
    {
        QVariantMap fields;
        if (!message.arguments().isEmpty())
            message.arguments().first().value<QDBusArgument>() >> fields;
        QTextStream(stdout) << fields.value(QStringLiteral("action")).toString() << ' '
                            << fields.value(QStringLiteral("source")).toString() << Qt::endl;
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerService(QString::fromLatin1(AppIds::calmix))) {
        QTextStream(stderr) << "fake-calmix: cannot own " << AppIds::calmix << Qt::endl;
        return 1;
    }
    Listener listener;
    bus.connect(QString(), QString::fromLatin1(AppIds::companionSignalPath),
        QString::fromLatin1(AppIds::companionSignalInterface),
        QString::fromLatin1(AppIds::companionSignalMember), &listener, SLOT(action(QDBusMessage)));
    QTextStream(stdout) << "ready" << Qt::endl;
    return QCoreApplication::exec();
}

#include "FakeCalmix.moc"
