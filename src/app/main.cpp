#include <QApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

#include "AppServices.h"
#include "ui/MiniTimerViewModel.h"
#include "ui/QmlPublishing.h"
#include "ui/ThemeColors.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

int main(int argc, char** argv)
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velto"));
    QApplication::setApplicationVersion(QStringLiteral(VELTO_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    AppServices services;
    ThemeColors colors(services.theme);
    MiniTimerViewModel popover(services.timer, services.tags, colors, services.detector, services.preferences);
    QmlPublishing::publish({ &services.timer, &services.tags, &services.theme, &colors, &services.detector, &popover });

    QQmlApplicationEngine engine;
    QmlPublishing::prepare(engine);
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
                     Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Velto/qml/PopoverWindow.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    QObject::connect(window, &QWindow::visibleChanged, &app, [](bool shown) {
        if (!shown)
            QCoreApplication::quit();
    });
    window->show();
    return QApplication::exec();
}
