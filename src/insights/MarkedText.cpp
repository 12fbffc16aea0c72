#include "MarkedText.h"

MarkedText markedText(const QString& pattern, const QString& argument)
{
    static const QString marker = QStringLiteral("**");
    const QString escaped = pattern.toHtmlEscaped();
    QString rich;
    bool bold = false;
    qsizetype from = 0;
    for (qsizetype at = escaped.indexOf(marker); at >= 0; at = escaped.indexOf(marker, from)) {
        rich += QStringView(escaped).mid(from, at - from);
        rich += bold ? QStringLiteral("</b>") : QStringLiteral("<b>");
        bold = !bold;
        from = at + marker.size();
    }
    rich += QStringView(escaped).mid(from);
    if (bold)
        rich += QStringLiteral("</b>");

    QString plain = pattern;
    plain.remove(marker);
    // Substituted last, so the argument can neither carry markup nor add markers.
    if (pattern.contains(QLatin1String("%1")))
        return { rich.arg(argument.toHtmlEscaped()), plain.arg(argument) };
    return { rich, plain };
}
