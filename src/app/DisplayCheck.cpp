#include "DisplayCheck.h"

#include <QCoreApplication>
#include <QList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace DisplayCheck {
namespace {

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

QtMessageHandler g_previous = nullptr;
QList<HeldMessage>* g_held = nullptr;

void hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        // Only the platform plugin fails this early: no display, or none it can reach.
        fail();
        std::_Exit(1);
    }
    g_held->append({ type, context.category ? context.category : "", text });
}

bool isPlatformOption(const char* argument)
{
    return std::strcmp(argument, "-platform") == 0 || std::strcmp(argument, "--platform") == 0;
}

} // namespace

QString message()
{
    return QCoreApplication::translate("DisplayCheck",
        "Velto cannot start: no X11 or Wayland display found. Start it in a desktop session, or set "
        "DISPLAY or WAYLAND_DISPLAY.");
}

bool displayNamed(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (isPlatformOption(argv[i]))
            return true;
    }
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int fail()
{
    std::fputs(message().toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    return 1;
}

Guard::Guard()
{
    g_held = new QList<HeldMessage>;
    g_previous = qInstallMessageHandler(hold);
}

Guard::~Guard()
{
    qInstallMessageHandler(g_previous);
    // Qt's warnings about a display it tried and did not need are noise once one worked.
    for (const HeldMessage& held : std::as_const(*g_held)) {
        if (held.category.rfind("qt.qpa", 0) == 0 && held.type == QtWarningMsg)
            continue;
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
        g_previous(held.type, context, held.text);
    }
    delete g_held;
    g_held = nullptr;
}

} // namespace DisplayCheck
