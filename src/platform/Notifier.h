#pragma once

#include <QString>

/// Posts a desktop notification.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void notify(const QString& title, const QString& body) = 0;
};
