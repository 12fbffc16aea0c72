#pragma once

#include <QObject>

#include "ThemeColorOption.h"

class Preferences;

/// The palette ids chosen for the focus and the break phase.
class ThemeManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString focusColorId READ focusColorId WRITE setFocusColorId NOTIFY focusColorIdChanged)
    Q_PROPERTY(QString breakColorId READ breakColorId WRITE setBreakColorId NOTIFY breakColorIdChanged)

public:
    static constexpr const char* focusColorKey = "focusColorId";
    static constexpr const char* breakColorKey = "breakColorId";

    explicit ThemeManager(Preferences& preferences, QObject* parent = nullptr);

    QString focusColorId() const { return m_focusColorId; }
    void setFocusColorId(const QString& id);
    QString breakColorId() const { return m_breakColorId; }
    void setBreakColorId(const QString& id);

    /// The palette colour of an id (exact match); nothing for an unknown id.
    static std::optional<quint32> colorForId(const QString& id) { return themeColorForId(id); }

    /// Writes both ids (the picker assigns one and then saves).
    Q_INVOKABLE void saveColors();

signals:
    void focusColorIdChanged();
    void breakColorIdChanged();

private:
    void loadColors();

    Preferences& m_preferences;
    QString m_focusColorId = QStringLiteral("coral");
    QString m_breakColorId = QStringLiteral("mint");
};
