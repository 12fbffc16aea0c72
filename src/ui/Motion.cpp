#include "Motion.h"

#include <numbers>

namespace {
double angularFrequency(double response)
{
    return response > 0 ? 2.0 * std::numbers::pi / response : 0.0;
}
} // namespace

double Motion::spring(double response)
{
    const double omega = angularFrequency(response);
    return omega * omega * stepSeconds;
}

double Motion::damping(double response, double dampingFraction)
{
    // SpringAnimation caps damping at 1; real springs stay far below that.
    return std::min(1.0, 2.0 * dampingFraction * angularFrequency(response) * stepSeconds);
}
