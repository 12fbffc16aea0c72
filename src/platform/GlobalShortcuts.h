#pragma once

#include <QObject>
#include <QString>

/// Keyboard shortcuts that work in every window, bound by the user in the desktop's own
/// settings. Each shortcut has a stable id, so a binding survives restarts and updates.
class GlobalShortcuts : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool available READ available NOTIFY availabilityChanged)

public:
    /// "Start or pause", "Skip", "Extend 5 minutes", "Open Velto".
    static constexpr char toggleId[] = "toggle";
    static constexpr char skipId[] = "skip";
    static constexpr char extendId[] = "extend";
    static constexpr char openId[] = "open";

    using QObject::QObject;

    /// True once the desktop has Velto's shortcuts; false where it offers no global shortcuts
    /// (the command lines `velto toggle|skip|extend` can be bound by hand there).
    virtual bool available() const = 0;

signals:
    /// The shortcut with this id was pressed.
    void activated(const QString& id);
    void availabilityChanged();
};
