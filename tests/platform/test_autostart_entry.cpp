// The login entry in the XDG autostart folder: what it runs, how it is written and
// removed, and when the desktop counts it as on.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/AutostartEntry.h"

namespace {

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(AutostartEntryTest, ExecQuotesAndEscapesWhatTheDesktopEntryRulesAsk)
{
    const std::pair<QString, QString> cases[] = {
        { QStringLiteral("velto"), QStringLiteral("velto") },
        { QStringLiteral("/opt/velto/bin/velto"), QStringLiteral("/opt/velto/bin/velto") },
        { QStringLiteral("/home/a b/velto"), QStringLiteral("\"/home/a b/velto\"") },
        // Quoted: \" \` \$ \\ ; then the string value doubles every backslash.
        { QStringLiteral("/x/\"q\"/$HOME/`c`/\\/v"),
            QStringLiteral("\"/x/\\\\\"q\\\\\"/\\\\$HOME/\\\\`c\\\\`/\\\\\\\\/v\"") },
        { QStringLiteral("/x/100%/velto"), QStringLiteral("/x/100%%/velto") },
        { QStringLiteral("/x/new\nline"), QStringLiteral("\"/x/new\\nline\"") },
    };
    for (const auto& [program, exec] : cases)
        EXPECT_EQ(AutostartEntry::execValue(program), exec) << program.toStdString();
    EXPECT_TRUE(QString::fromUtf8(AutostartEntry::contents(QStringLiteral("/home/a b/velto")))
                    .contains(QStringLiteral("\nExec=\"/home/a b/velto\"\n")));
}

TEST(AutostartEntryTest, OnlyHiddenTrueInTheMainGroupTurnsTheEntryOff)
{
    const std::pair<const char*, bool> cases[] = {
        { "[Desktop Entry]\nExec=velto\nHidden=true\n", true },
        { "[Desktop Entry]\n  Hidden = true  \r\n", true },
        { "[Desktop Entry]\nHidden=false\n", false },
        { "[Desktop Entry]\nHidden=True\n", false }, // Booleans are lower case
        { "[Desktop Entry]\n#Hidden=true\n", false },
        { "[Desktop Entry]\nX-Hidden=true\n", false },
        { "[Desktop Action quiet]\nHidden=true\n", false },
        { "Hidden=true\n[Desktop Entry]\nExec=velto", false },
        { "", false },
    };
    for (const auto& [text, hidden] : cases)
        EXPECT_EQ(AutostartEntry::isHidden(text), hidden) << text;
}

TEST(AutostartEntryTest, AnEntryStartsVeltoWhenItsExecRunsThisProgramOrOneNamedVelto)
{
    const QString program = QStringLiteral("/opt/velto/bin/velto");
    const std::pair<const char*, bool> cases[] = {
        { "[Desktop Entry]\nExec=velto\n", true },
        { "[Desktop Entry]\nExec=/usr/bin/velto --quiet\n", true },
        { "[Desktop Entry]\nExec=\"/home/a b/.local/bin/velto\"\n", true },
        { "[Desktop Entry]\nExec=/opt/velto/bin/velto\n", true },
        { "[Desktop Entry]\nExec=/usr/bin/other-app\n", false },
        { "[Desktop Entry]\nExec=veltoish\n", false },
        { "[Desktop Entry]\nExec=\n", false },
        { "[Desktop Entry]\nName=Velto\n", false },
        { "[Desktop Action x]\nExec=velto\n", false },
    };
    for (const auto& [text, starts] : cases)
        EXPECT_EQ(AutostartEntry::startsVelto(text, program), starts) << text;
    // Whatever path Velto writes, it reads back as itself.
    for (const QString& odd : { QStringLiteral("/home/a b/velto-build/app"),
             QStringLiteral("/x/\"q\"/$HOME/`c`/\\/app"), QStringLiteral("/x/100%/app") })
        EXPECT_TRUE(AutostartEntry::startsVelto(AutostartEntry::contents(odd).toStdString(), odd))
            << odd.toStdString();
}

TEST(AutostartEntryTest, ALinkInTheEntrysPlaceIsNeverWrittenThrough)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("autostart/studio.murv.Velto.desktop"));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("autostart"))));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("dotfiles"))));
    const QString target = home.filePath(QStringLiteral("dotfiles/velto.desktop"));
    AutostartEntry entry(path, QStringLiteral("/opt/velto/bin/velto"));
    const auto linkTo = [&](const QByteArray& text) {
        QFile::remove(path);
        return (text.isNull() || write(target, text)) && QFile::link(target, path);
    };

    // The user's link to an entry that starts Velto already does the job: kept as it is.
    const QByteArray own = "[Desktop Entry]\nExec=velto --from-dotfiles\n";
    ASSERT_TRUE(linkTo(own));
    EXPECT_TRUE(entry.isEnabled());
    ASSERT_TRUE(entry.setEnabled(true));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(read(target).toUtf8(), own);
    ASSERT_TRUE(entry.setEnabled(false)); // the link goes, the user's file stays
    EXPECT_FALSE(QFileInfo(path).isSymLink() || QFileInfo::exists(path));
    EXPECT_EQ(read(target).toUtf8(), own);

    // A link to something else, to a hidden entry or to nothing is replaced by Velto's own file.
    for (const QByteArray& other : { QByteArray("[Desktop Entry]\nExec=/usr/bin/other-app\n"),
             QByteArray("[Desktop Entry]\nExec=velto\nHidden=true\n"), QByteArray() }) {
        if (other.isNull())
            QFile::remove(target);
        ASSERT_TRUE(linkTo(other));
        EXPECT_FALSE(entry.isEnabled());
        ASSERT_TRUE(entry.setEnabled(true));
        EXPECT_FALSE(QFileInfo(path).isSymLink());
        EXPECT_TRUE(entry.isEnabled());
        EXPECT_EQ(read(path).toUtf8(), AutostartEntry::contents(QStringLiteral("/opt/velto/bin/velto")));
        EXPECT_EQ(read(target).toUtf8(), other);
        EXPECT_EQ(QFileInfo::exists(target), !other.isNull());
    }
}

TEST(AutostartEntryTest, SwitchingWritesAPrivateEntryAndRemovesIt)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("config/autostart/studio.murv.Velto.desktop"));
    AutostartEntry entry(path, QStringLiteral("/opt/velto/bin/velto"));
    EXPECT_FALSE(entry.isEnabled());
    EXPECT_TRUE(entry.setEnabled(false)); // nothing there is fine

    ASSERT_TRUE(entry.setEnabled(true)); // the folders are made too
    EXPECT_TRUE(entry.isEnabled());
    EXPECT_EQ(read(path).toUtf8(), AutostartEntry::contents(QStringLiteral("/opt/velto/bin/velto")));
    using std::filesystem::perms;
    EXPECT_EQ(
        std::filesystem::status(path.toStdString()).permissions(), perms::owner_read | perms::owner_write);
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(),
        1); // no temporaries

    ASSERT_TRUE(write(path, "[Desktop Entry]\nExec=velto\nHidden=true\n")); // turned off by another tool
    EXPECT_FALSE(entry.isEnabled());
    ASSERT_TRUE(entry.setEnabled(true));
    EXPECT_TRUE(entry.isEnabled());

    ASSERT_TRUE(entry.setEnabled(false));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(entry.isEnabled());
}

TEST(AutostartEntryTest, AFailedChangeSaysWhyAndLeavesTheEntryAsItWas)
{
    QTemporaryDir home;
    ASSERT_TRUE(write(home.filePath(QStringLiteral("autostart")), "a file where the folder should be"));
    AutostartEntry blocked(
        home.filePath(QStringLiteral("autostart/studio.murv.Velto.desktop")), QStringLiteral("velto"));
    QString error;
    EXPECT_FALSE(blocked.setEnabled(true, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(blocked.isEnabled());

    // A folder in the entry's place is neither an entry nor removable as one.
    const QString folder = home.filePath(QStringLiteral("other/studio.murv.Velto.desktop"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    AutostartEntry odd(folder, QStringLiteral("velto"));
    EXPECT_FALSE(odd.isEnabled());
    error.clear();
    EXPECT_FALSE(odd.setEnabled(false, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(AutostartEntryTest, AnInstalledProgramRunsByNameAndABuildByItsPath)
{
    const QByteArray savedPath = qgetenv("PATH");
    QTemporaryDir bin;
    qputenv("PATH", bin.path().toLocal8Bit());
    EXPECT_EQ(AutostartEntry::commandForThisProgram(),
        QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());

    // Another program named velto on the PATH is not this one.
    ASSERT_TRUE(write(bin.filePath(QStringLiteral("velto")), "#!/bin/sh\n"));
    QFile::setPermissions(bin.filePath(QStringLiteral("velto")), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_NE(AutostartEntry::commandForThisProgram(), QStringLiteral("velto"));

    QFile::remove(bin.filePath(QStringLiteral("velto")));
    ASSERT_TRUE(QFile::link(QCoreApplication::applicationFilePath(), bin.filePath(QStringLiteral("velto"))));
    EXPECT_EQ(AutostartEntry::commandForThisProgram(), QStringLiteral("velto"));
    qputenv("PATH", savedPath);
}

} // namespace
