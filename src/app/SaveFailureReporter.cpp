#include "SaveFailureReporter.h"

#include "platform/Notifier.h"

SaveFailureReporter::SaveFailureReporter(Notifier& notifier, QObject* parent) : QObject(parent), m_notifier(notifier) { }

void SaveFailureReporter::reportFailure(const QString& what, const QString& reason)
{
    if (m_reported.contains(what))
        return;
    m_reported.insert(what);
    const QString title = what == QLatin1String("history") ? tr("Velto cannot save your history")
                                                             : tr("Velto cannot save its settings");
    m_notifier.notify(title, tr("%1. Nothing is lost: Velto keeps trying and saves as soon as it can.").arg(reason));
}
