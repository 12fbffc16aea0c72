#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

/// Velto's entry in the user's XDG autostart folder: the desktop starts Velto at
/// login while the entry is there and not marked Hidden=true.
class AutostartEntry {
public:
    /// $XDG_CONFIG_HOME/autostart/studio.murv.Velto.desktop
    static QString userPath();
    /// What the entry runs: "velto" when the `velto` on the PATH is this program (it is
    /// installed), else this program's own path, so a build run from its folder starts too.
    static QString commandForThisProgram();

    /// `program` as the Exec key's value: quoted where the desktop entry rules ask, with
    /// the escapes of a quoted argument and of a string value.
    static QString execValue(const QString& program);
    /// The whole desktop entry for `program`.
    static QByteArray contents(const QString& program);
    /// Whether the [Desktop Entry] group of `text` sets Hidden to true.
    static bool isHidden(std::string_view text);
    /// Whether the Exec key of `text` runs `program` or a program named velto.
    static bool startsVelto(std::string_view text, const QString& program);

    explicit AutostartEntry(QString path = userPath(), QString program = commandForThisProgram());

    const QString& path() const { return m_path; }
    /// The entry can be read, is not hidden and starts Velto.
    bool isEnabled() const;
    /// Writes the entry atomically, or removes it; false with the system's reason in
    /// `errorString` when that failed (the entry is then as it was). A symbolic link in
    /// the entry's place (a user's dotfiles) is never written through: it is replaced by
    /// Velto's own file, or kept when it already leads to an enabled entry; switching
    /// off removes the link, never what it points at.
    bool setEnabled(bool on, QString* errorString = nullptr);

private:
    /// The value of the first `key` in the [Desktop Entry] group of `text`.
    static std::optional<std::string_view> mainGroupValue(std::string_view text, std::string_view key);

    QString m_path;
    QString m_program;
};
