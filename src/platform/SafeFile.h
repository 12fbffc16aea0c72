#pragma once

#include <QByteArray>
#include <QString>
#include <string>

/// Saving, reading and setting aside files without ever leaving a half-written one
/// or waiting on something that is not a file.
namespace SafeFile {

/// What a write does with a symbolic link at its path.
enum class Link {
    follow, ///< the file it leads to is written, so a linked file stays linked
    replace, ///< the link itself is replaced by the new file; what it pointed at is untouched
};

/// Writes `data` through a temporary file in the same folder that is synced and
/// renamed over `path`, then syncs the folder: readers see the old or the new
/// content, never a mix, even if the process dies midway. On failure the old file
/// is untouched and `errorString` holds the system's reason.
bool writeAtomically(
    const QString& path, const QByteArray& data, QString* errorString = nullptr, Link link = Link::follow);

struct Contents {
    enum class Status { missing, read, failed } status = Status::missing;
    std::string bytes;
    QString error; ///< set when `failed`
};

/// The whole content of a regular file of at most `maxSize` bytes. A pipe, a device,
/// a folder or a larger file is a failure, found without blocking or reading it.
Contents read(const QString& path, qint64 maxSize);

/// Creates `folder` and missing parents, private to the user (0700).
bool createFolders(const QString& folder, QString* errorString = nullptr);

/// Renames an unreadable file (of any kind) to "<name>.unreadable-<yyyyMMdd-HHmmss>"
/// beside it so that nothing in it is lost; returns the new path, or an empty string on failure.
QString moveAside(const QString& path);

} // namespace SafeFile
