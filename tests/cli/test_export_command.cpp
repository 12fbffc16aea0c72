// `velto export` against real files: what it writes where, and every way it refuses,
// each leaving the history and any existing output as they were.
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../fileio/RawFiles.h"
#include "FileSizeLimit.h"
#include "TestCalendars.h"
#include "cli/CliArguments.h"
#include "cli/ExportCommand.h"
#include "data/SessionHistoryCodec.h"

namespace {

using Cli::ExportOptions;
using HistoryExport::Format;

TEST(ExportArguments, EveryOptionInBothSpellings)
{
    const auto parse = [](const char* line) {
        const Cli::ParsedArguments parsed
            = Cli::parseArguments(QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        EXPECT_TRUE(parsed.command) << line << ": " << parsed.error.toStdString();
        return parsed.command.value_or(Cli::Command {});
    };
    const Cli::Command plain = parse("export");
    EXPECT_EQ(plain.action, Cli::Action::exportHistory);
    EXPECT_EQ(plain.exportOptions.format, Format::csv);
    EXPECT_TRUE(plain.exportOptions.from.isEmpty() && plain.exportOptions.to.isEmpty());
    EXPECT_TRUE(plain.exportOptions.output.isEmpty());
    EXPECT_FALSE(plain.exportOptions.force);

    const ExportOptions all
        = parse("export --format json --from 2025-12-01 --to=2025-12-31 -o out.json --force").exportOptions;
    EXPECT_EQ(all.format, Format::json);
    EXPECT_EQ(all.from, QStringLiteral("2025-12-01"));
    EXPECT_EQ(all.to, QStringLiteral("2025-12-31"));
    EXPECT_EQ(all.output, QStringLiteral("out.json"));
    EXPECT_TRUE(all.force);
    EXPECT_EQ(parse("export --output=a.csv --format=csv").exportOptions.output, QStringLiteral("a.csv"));
    // The dates are the command's to judge: a bad one is a failed export, not a usage error.
    EXPECT_EQ(parse("export --from someday").exportOptions.from, QStringLiteral("someday"));

    for (const char* line : { "export --format xml", "export --format", "export --frobnicate", "export extra",
             "export --from", "export --output=" }) {
        const Cli::ParsedArguments parsed
            = Cli::parseArguments(QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        EXPECT_FALSE(parsed.command) << line;
        EXPECT_FALSE(parsed.error.contains(QLatin1Char('\n'))) << line;
        const QString offending
            = QString::fromLatin1(line).section(QLatin1Char(' '), -1).section(QLatin1Char('='), 0, 0);
        EXPECT_TRUE(parsed.error.contains(offending)) << line << ": " << parsed.error.toStdString();
    }
}

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SessionRecord focus { QUuid::createUuid(), localTime(QTimeZone("Europe/Berlin"), 2025, 12, 1, 10, 30),
            1500, SessionType::focus, true, QStringLiteral("Work") };
        writeRaw(historyPath(), SessionHistoryCodec::encode({ focus }));
    }

    std::string historyPath() const { return dir.filePath(QStringLiteral("sessions.json")).toStdString(); }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    /// Runs the command; what it printed to standard output lands in `printed`.
    int run(const ExportOptions& options, QString* error)
    {
        std::FILE* out = std::tmpfile();
        const int code = Cli::runExport(options, QString::fromStdString(historyPath()), calendar, out, error);
        std::rewind(out);
        printed.clear();
        for (int c; (c = std::fgetc(out)) != EOF;)
            printed.push_back(static_cast<char>(c));
        std::fclose(out);
        return code;
    }

    QTemporaryDir dir;
    Calendar calendar = berlinCalendar();
    std::string printed;
};

TEST_F(ExportCommand, WritesToStandardOutputOrAFile)
{
    QString error;
    EXPECT_EQ(run({}, &error), 0) << error.toStdString();
    EXPECT_TRUE(printed.starts_with("id,start,end,type,minutes,tag,completedFully\r\n")) << printed;
    EXPECT_NE(
        printed.find(",2025-12-01T10:05:00.000+01:00,2025-12-01T10:30:00.000+01:00,focus,25,Work,true\r\n"),
        std::string::npos)
        << printed;

    ExportOptions toFile;
    toFile.format = Format::json;
    toFile.output = path("out.json");
    EXPECT_EQ(run(toFile, &error), 0) << error.toStdString();
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(readRaw(toFile.output.toStdString()).starts_with("[\n{\"id\":"));

    // Replaced only when asked to.
    writeRaw(toFile.output.toStdString(), "old");
    toFile.force = true;
    toFile.format = Format::csv;
    EXPECT_EQ(run(toFile, &error), 0) << error.toStdString();
    EXPECT_TRUE(readRaw(toFile.output.toStdString()).starts_with("id,start,"));

    // No history yet: nothing was recorded, which is no failure.
    std::filesystem::remove(historyPath());
    EXPECT_EQ(run({}, &error), 0) << error.toStdString();
    EXPECT_EQ(printed, "id,start,end,type,minutes,tag,completedFully\r\n");
}

TEST_F(ExportCommand, BadInputFailsWithOneLineAndWritesNothing)
{
    const std::string history = readRaw(historyPath());
    // Root may write into any folder, but nobody can create files in sysfs.
    QString readOnlyFolder = QStringLiteral("/sys");
    if (::geteuid() != 0) {
        readOnlyFolder = path("locked");
        QDir().mkdir(readOnlyFolder);
        ::chmod(QFile::encodeName(readOnlyFolder).constData(), 0555);
    }
    writeRaw(path("taken.csv").toStdString(), "keep me");

    struct Case {
        const char* name;
        std::function<void(ExportOptions&)> options;
        const char* message;
        std::function<void()> setUp = [] {};
    };
    const Case cases[] = {
        { "from after to",
            [](ExportOptions& o) {
                o.from = QStringLiteral("2025-12-02");
                o.to = QStringLiteral("2025-12-01");
            },
            "after" },
        { "unparsable from", [](ExportOptions& o) { o.from = QStringLiteral("2025-13-01"); }, "2025-13-01" },
        { "unparsable to", [](ExportOptions& o) { o.to = QStringLiteral("yesterday"); }, "yesterday" },
        { "missing folder", [&](ExportOptions& o) { o.output = path("missing/out.csv"); },
            "missing/out.csv" },
        { "read-only folder",
            [&](ExportOptions& o) { o.output = readOnlyFolder + QStringLiteral("/out.csv"); }, "out.csv" },
        { "existing file", [&](ExportOptions& o) { o.output = path("taken.csv"); }, "--force" },
        { "the history itself",
            [&](ExportOptions& o) {
                o.output = QString::fromStdString(historyPath());
                o.force = true;
            },
            "history" },
        { "full disk",
            [&](ExportOptions& o) {
                o.output = path("full.csv");
                o.force = true;
            },
            "full.csv" },
        { "unreadable history", [](ExportOptions&) {}, "Cannot read the history",
            [&] { writeRaw(historyPath(), "[{\"id\":"); } },
        { "history is a folder", [](ExportOptions&) {}, "Cannot read the history",
            [&] {
                std::filesystem::remove(historyPath());
                std::filesystem::create_directory(historyPath());
            } },
    };
    const auto before = entriesOf(dir.path().toStdString());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.setUp();
        ExportOptions options;
        c.options(options);
        QString error;
        int code = 0;
        {
            std::optional<FileSizeLimit> full;
            if (std::string_view(c.name) == "full disk")
                full.emplace(16);
            code = run(options, &error);
        }
        EXPECT_EQ(code, 1);
        EXPECT_TRUE(error.contains(QLatin1String(c.message))) << error.toStdString();
        EXPECT_FALSE(error.contains(QLatin1Char('\n'))) << error.toStdString();
        EXPECT_TRUE(printed.empty()) << printed;
        EXPECT_EQ(entriesOf(dir.path().toStdString()), before) << "no new file and no leftover";
        EXPECT_EQ(readRaw(path("taken.csv").toStdString()), "keep me");
        const bool historyStays = std::filesystem::is_regular_file(historyPath())
            && std::string_view(c.name) != "unreadable history";
        EXPECT_TRUE(!historyStays || readRaw(historyPath()) == history);
    }
}

} // namespace
