#include "SafeFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "fileio/AtomicWrite.h"
#include "fileio/Folders.h"
#include "fileio/ReadFile.h"
#include "fileio/Rename.h"

namespace SafeFile {
namespace {
std::filesystem::path nativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString errorText(const std::error_code& error)
{
    return QString::fromLocal8Bit(error.message().c_str());
}

/// Where a link at `path` finally points, so the link is kept rather than replaced by a file.
QString linkTarget(const QString& path)
{
    QFileInfo info(path);
    for (int hops = 0; hops < 40 && info.isSymLink(); ++hops)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

bool writeAtomically(const QString& path, const QByteArray& data, QString* errorString, Link link)
{
    const std::error_code error
        = fileio::writeFileAtomically(nativePath(link == Link::follow ? linkTarget(path) : path),
            std::string_view(data.constData(), std::size_t(data.size())));
    if (error && errorString)
        *errorString = errorText(error);
    return !error;
}

Contents read(const QString& path, qint64 maxSize)
{
    fileio::FileContents file
        = fileio::readWholeFile(nativePath(path), std::size_t(std::max<qint64>(maxSize, 0)));
    Contents contents;
    switch (file.status) {
    case fileio::FileContents::Status::missing:
        break;
    case fileio::FileContents::Status::read:
        contents.status = Contents::Status::read;
        contents.bytes = std::move(file.bytes);
        break;
    case fileio::FileContents::Status::failed:
        contents.status = Contents::Status::failed;
        contents.error = file.tooLarge
            ? QStringLiteral("the file is larger than %1 MB").arg(maxSize / (qint64(1024) * 1024))
            : QString::fromLocal8Bit(file.error.c_str());
        break;
    }
    return contents;
}

bool createFolders(const QString& folder, QString* errorString)
{
    const std::error_code error = fileio::createPrivateFolders(nativePath(folder));
    if (error && errorString)
        *errorString = errorText(error);
    return !error;
}

QString moveAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 0; n < 1000; ++n) {
        QString target = n == 0 ? base : base + QLatin1Char('-') + QString::number(n);
        const std::error_code error = fileio::renameNoReplace(nativePath(path), nativePath(target));
        if (!error) {
            syncFolder(QFileInfo(path).absolutePath());
            return target;
        }
        if (error != std::errc::file_exists)
            break;
    }
    return {};
}

} // namespace SafeFile
