#pragma once

#include <QString>
#include <QVariant>

/// The user-defaults store: typed values under string keys.
/// Values keep their type: bool, qint64, double, QString, QDateTime, QStringList,
/// QVariantList and QVariantMap. An absent key reads as an invalid QVariant.
class Preferences {
public:
    virtual ~Preferences() = default;
    virtual QVariant value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
};
