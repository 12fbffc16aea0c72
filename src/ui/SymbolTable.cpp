#include "SymbolTable.h"

#include <QFile>
#include <QRegularExpression>

const SymbolTable& SymbolTable::embedded()
{
    static const SymbolTable table = [] {
        QFile file(QStringLiteral(":/velto/symbols.txt"));
        file.open(QIODevice::ReadOnly);
        return parse(QString::fromUtf8(file.readAll()));
    }();
    return table;
}

SymbolTable SymbolTable::parse(const QString& text)
{
    static const QRegularExpression whitespace(QStringLiteral("\\s+"));
    SymbolTable table;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.section(QLatin1Char('#'), 0, 0).trimmed();
        const QStringList fields = line.split(whitespace, Qt::SkipEmptyParts);
        if (fields.size() != 2)
            continue;
        const QString variant = fields[1].section(QLatin1Char('/'), 0, 0);
        const QString icon = fields[1].section(QLatin1Char('/'), 1);
        // The icon set names its files "<icon>-<variant>.svg", the regular ones "<icon>.svg".
        const QString file = variant == QLatin1String("regular") ? icon : icon + QLatin1Char('-') + variant;
        table.m_paths.insert(fields[0], QStringLiteral(":/velto/symbols/%1/%2.svg").arg(variant, file));
    }
    return table;
}
