#pragma once

#include <QString>

/// A sentence with a bold part, for drawing (HTML) and for reading aloud or testing (plain).
struct MarkedText {
    QString rich; ///< HTML-escaped, the bold part in <b>…</b>
    QString plain;
};

/// Fills `pattern`'s %1 with `argument`; the part of `pattern` between "**" markers is bold.
/// Translators see the markers, so each language can place the bold part itself.
MarkedText markedText(const QString& pattern, const QString& argument = {});
