#include "FigureInputs.h"

#include "DayWatcher.h"
#include "data/SessionStore.h"

FigureInputs::FigureInputs(InsightsDependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_dependencies(std::move(dependencies))
{ }

SessionStore& FigureInputs::store()
{
    if (!m_store) {
        m_store = &m_dependencies.sessionStore();
        connect(m_store, &SessionStore::sessionsChanged, this, &FigureInputs::invalidate);
        connect(&m_dependencies.dayWatcher, &DayWatcher::dayChanged, this, &FigureInputs::invalidate);
        m_dependencies.dayWatcher.start();
    }
    return *m_store;
}

void FigureInputs::invalidate()
{
    if (m_stale)
        return;
    m_stale = true;
    emit becameStale();
}
