#pragma once

#include <QObject>

#include "InsightsDependencies.h"

/// The inputs of one model's figures. Nothing is read or watched until the
/// model first needs its figures, so a page that is never shown costs nothing.
/// Afterwards any change of an input makes the figures stale and signals it once;
/// the model recomputes on its next read, not on every read.
class FigureInputs : public QObject {
    Q_OBJECT

public:
    explicit FigureInputs(InsightsDependencies dependencies, QObject* parent = nullptr);

    const InsightsDependencies& dependencies() const { return m_dependencies; }
    /// The history; the first call starts watching the history and the day.
    SessionStore& store();

    bool isStale() const { return m_stale; }
    void markFresh() { m_stale = false; }
    /// Marks the figures stale; signals only when they were fresh, so repeated changes
    /// while nobody reads cost nothing.
    void invalidate();

signals:
    void becameStale();

private:
    InsightsDependencies m_dependencies;
    SessionStore* m_store = nullptr;
    bool m_stale = true;
};
