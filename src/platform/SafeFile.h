#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

/// Saving and setting aside files without ever leaving a half-written one.
namespace SafeFile {

/// Writes `data` through a temporary file in the same folder that is synced and
/// renamed over `path`, then syncs the folder: readers see the old or the new
/// content, never a mix, even if the process dies midway.
bool writeAtomically(const QString& path, const QByteArray& data, QString* errorString = nullptr);

/// The whole content of a file; nothing when it cannot be read (`errorString` says why).
std::optional<QByteArray> readAll(const QString& path, QString* errorString = nullptr);

/// Renames an unreadable file to "<name>.unreadable-<yyyyMMdd-HHmmss>" beside it
/// so that nothing in it is lost; returns the new path, or an empty string on failure.
QString moveAside(const QString& path);

} // namespace SafeFile
