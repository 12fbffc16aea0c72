#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

/// The symbols the views draw, by name ("flame.fill"), and the embedded icon that
/// stands for each. The table is the symbols.txt the build embeds.
class SymbolTable {
public:
    /// The table built into the application.
    static const SymbolTable& embedded();
    /// Reads "name variant/icon" lines; '#' starts a comment.
    static SymbolTable parse(const QString& text);

    /// The resource path of the icon for `name`; empty for an unknown name.
    QString svgPath(const QString& name) const { return m_paths.value(name); }
    QStringList names() const { return m_paths.keys(); }

private:
    QHash<QString, QString> m_paths;
};
