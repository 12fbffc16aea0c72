#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

/// Springs described by response (seconds per oscillation) and damping fraction,
/// turned into the parameters of Qt Quick's SpringAnimation.
///
/// SpringAnimation integrates in fixed 16 ms steps, adding `spring * distance -
/// damping * velocity` to the velocity once per step, so a physical spring of
/// stiffness k = (2π/r)² and damping c = 2ζ·(2π/r) (mass 1) becomes
/// spring = k · 0.016 and damping = c · 0.016.
class Motion : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static constexpr double stepSeconds = 0.016;

    using QObject::QObject;

    Q_INVOKABLE static double spring(double response);
    Q_INVOKABLE static double damping(double response, double dampingFraction);
};
