#include "ExportViewModel.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "data/HistoryExport.h"
#include "data/SessionStore.h"
#include "fileio/AtomicWrite.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"

ExportViewModel::ExportViewModel(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
{ }

void ExportViewModel::exportCsv()
{
    const QDate today = QDate(1970, 1, 1).addDays(m_deps.calendar.dayNumber(m_deps.clock.now()));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString suggestion
        = QDir(folder).filePath(QStringLiteral("velto-history-%1.csv").arg(today.toString(Qt::ISODate)));
    const QString path = m_deps.chooseFile(suggestion);
    if (path.isEmpty())
        return;

    const SessionStore& store = m_deps.sessionStore();
    if (HistoryExport::isHistoryFile(path, store.filePath())) {
        say(tr("%1 is Velto's history; choose another file for the export.")
                .arg(QDir::toNativeSeparators(path)),
            true);
        return;
    }
    const std::string document
        = HistoryExport::write(store.sessions(), HistoryExport::Format::csv, m_deps.calendar);
    const std::error_code error
        = fileio::writeFileAtomically(QFile::encodeName(path).toStdString(), document);
    if (error) {
        say(tr("Could not write %1: %2")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(error.message())),
            true);
        return;
    }
    say(tr("%n intervals exported to %1", nullptr, int(store.sessions().size()))
            .arg(QDir::toNativeSeparators(path)),
        false);
}

void ExportViewModel::say(const QString& message, bool failed)
{
    m_message = message;
    m_failed = failed;
    emit messageChanged();
}
