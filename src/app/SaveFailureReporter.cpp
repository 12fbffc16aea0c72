#include "SaveFailureReporter.h"

#include <QDebug>

#include "platform/Notifier.h"

SaveFailureReporter::SaveFailureReporter(Notifier& notifier, QObject* parent)
    : QObject(parent)
    , m_notifier(notifier)
{ }

void SaveFailureReporter::reportFailure(What what, const QString& reason)
{
    if (!m_reported.insert(what).second)
        return;
    if (what == What::history) {
        m_notifier.notify(tr("Velto cannot save your history"),
            tr("%1. New records are kept while Velto runs and saved as soon as saving works again.")
                .arg(reason));
    } else {
        m_notifier.notify(tr("Velto cannot save its settings"),
            tr("%1. Your changes are kept while Velto runs and saved as soon as saving works again.")
                .arg(reason));
    }
}

void SaveFailureReporter::reportLost(What what, const QString& reason)
{
    const bool history = what == What::history;
    qCritical().noquote() << (history ? "Velto quit without saving its newest history records:"
                                      : "Velto quit without saving its latest settings:")
                          << reason;
    if (history) {
        m_notifier.notifyBeforeExit(tr("Velto could not save your history"),
            tr("%1. The records since the last save are lost.").arg(reason));
    } else {
        m_notifier.notifyBeforeExit(tr("Velto could not save its settings"),
            tr("%1. The changes since the last save are lost.").arg(reason));
    }
}
