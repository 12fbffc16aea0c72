#include "AutostartEntry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <string>

#include "AppIds.h"
#include "SafeFile.h"

namespace {
/// Larger files are not desktop entries anyone wrote by hand; they count as unreadable.
constexpr qint64 kMaxEntrySize = qint64(1024) * 1024;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

/// The program an Exec value runs: its first argument, read with the escapes of a string
/// value, then the quoting of a command line, then the doubled percent sign.
QString firstArgument(std::string_view value)
{
    std::string line;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            line += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            line += ' ';
            break;
        case 'n':
            line += '\n';
            break;
        case 't':
            line += '\t';
            break;
        case 'r':
            line += '\r';
            break;
        case '\\':
            line += '\\';
            break;
        default:
            line += '\\';
            line += value[i];
        }
    }
    std::string argument;
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos)
        return {};
    if (line[i] == '"') {
        for (++i; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size())
                ++i;
            argument += line[i];
        }
    } else {
        for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i)
            argument += line[i];
    }
    return QString::fromUtf8(argument.data(), qsizetype(argument.size()))
        .replace(QLatin1String("%%"), QLatin1String("%")); // a percent sign, not a field code
}
} // namespace

QString AutostartEntry::userPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/") + QLatin1String(AppIds::application) + QStringLiteral(".desktop");
}

QString AutostartEntry::commandForThisProgram()
{
    QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("velto"));
    if (self.isEmpty() || (!onPath.isEmpty() && QFileInfo(onPath).canonicalFilePath() == self))
        return QStringLiteral("velto");
    return self;
}

QString AutostartEntry::execValue(const QString& program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quote
        = std::any_of(program.begin(), program.end(), [](QChar c) { return reserved.contains(c); });
    QString argument;
    for (const QChar c : program) {
        if (c == QLatin1Char('%'))
            argument += QStringLiteral("%%"); // not a field code
        else if (quote
            && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                || c == QLatin1Char('\\')))
            argument += QLatin1Char('\\') + c;
        else
            argument += c;
    }
    if (quote)
        argument = QLatin1Char('"') + argument + QLatin1Char('"');
    // The key's value is itself a string with escapes of its own.
    QString value;
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case '\\':
            value += QStringLiteral("\\\\");
            break;
        case '\n':
            value += QStringLiteral("\\n");
            break;
        case '\t':
            value += QStringLiteral("\\t");
            break;
        case '\r':
            value += QStringLiteral("\\r");
            break;
        default:
            value += c;
        }
    }
    return value;
}

QByteArray AutostartEntry::contents(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Velto\n"
                          "Comment=Focus intervals and breaks from the system tray\n"
                          "Exec=%1\n"
                          "Icon=%2\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execValue(program), QLatin1String(AppIds::application))
        .toUtf8();
}

std::optional<std::string_view> AutostartEntry::mainGroupValue(std::string_view text, std::string_view key)
{
    bool inMainGroup = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (inMainGroup && equals != std::string_view::npos && trimmed(line.substr(0, equals)) == key)
            return trimmed(line.substr(equals + 1));
    }
    return std::nullopt;
}

bool AutostartEntry::isHidden(std::string_view text)
{
    return mainGroupValue(text, "Hidden") == "true";
}

bool AutostartEntry::startsVelto(std::string_view text, const QString& program)
{
    const auto exec = mainGroupValue(text, "Exec");
    if (!exec)
        return false;
    const QString command = firstArgument(*exec);
    return !command.isEmpty()
        && (command == program || QFileInfo(command).fileName() == QLatin1String("velto"));
}

AutostartEntry::AutostartEntry(QString path, QString program)
    : m_path(std::move(path))
    , m_program(std::move(program))
{ }

bool AutostartEntry::isEnabled() const
{
    const SafeFile::Contents file = SafeFile::read(m_path, kMaxEntrySize);
    return file.status == SafeFile::Contents::Status::read && !isHidden(file.bytes)
        && startsVelto(file.bytes, m_program);
}

bool AutostartEntry::setEnabled(bool on, QString* errorString)
{
    if (on) {
        // A link to the user's own entry that starts Velto already does the job.
        if (QFileInfo(m_path).isSymLink() && isEnabled())
            return true;
        return SafeFile::createFolders(QFileInfo(m_path).absolutePath(), errorString)
            && SafeFile::writeAtomically(m_path, contents(m_program), errorString, SafeFile::Link::replace);
    }
    QFile file(m_path);
    if (file.remove())
        return true;
    const QFileInfo left(m_path);
    if (!left.exists() && !left.isSymLink())
        return true; // nothing was there
    if (errorString)
        *errorString = file.errorString();
    return false;
}
