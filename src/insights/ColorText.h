#pragma once

#include <QString>

/// A colour as QML reads it from a string: "#RRGGBB", or "#AARRGGBB" when not opaque.
QString colorText(quint32 rgb, double opacity = 1.0);
