#include "Appcast.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

constexpr QStringView sparkleNamespace = u"http://www.andymatuschak.org/xml-namespaces/sparkle";

/// What one <item> says, before deciding whether it is usable.
struct ItemFields {
    QString shortVersion;
    QString buildVersion;
    QString link;
    QString fullReleaseNotes;
    QString releaseNotes;
    QString enclosureUrl;
    QString enclosureShortVersion;
    QString enclosureBuildVersion;
};

bool isSparkle(const QXmlStreamReader& reader)
{
    return reader.namespaceUri() == sparkleNamespace;
}

/// Only pages a browser should open: a feed must not make us open files or scripts.
QUrl webPage(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    return scheme == u"https" || scheme == u"http" ? url : QUrl();
}

std::optional<AppcastItem> usableItem(const ItemFields& fields)
{
    // The marketing version is what the running version is compared with; the build
    // version only stands in when a feed names nothing else.
    QString versionText;
    for (const QString& candidate : { fields.shortVersion, fields.enclosureShortVersion, fields.buildVersion,
             fields.enclosureBuildVersion }) {
        if (!candidate.trimmed().isEmpty()) {
            versionText = candidate.trimmed();
            break;
        }
    }
    const QVersionNumber version = parseReleaseVersion(versionText);
    if (version.isNull())
        return std::nullopt;
    for (const QString& candidate :
        { fields.link, fields.fullReleaseNotes, fields.releaseNotes, fields.enclosureUrl }) {
        const QUrl page = webPage(candidate);
        if (!page.isEmpty())
            return AppcastItem { versionText, version, page };
    }
    return std::nullopt;
}

void readItem(QXmlStreamReader& reader, Appcast& appcast)
{
    ItemFields fields;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (isSparkle(reader) && name == u"shortVersionString")
            fields.shortVersion = reader.readElementText();
        else if (isSparkle(reader) && name == u"version")
            fields.buildVersion = reader.readElementText();
        else if (isSparkle(reader) && name == u"fullReleaseNotesLink")
            fields.fullReleaseNotes = reader.readElementText();
        else if (isSparkle(reader) && name == u"releaseNotesLink")
            fields.releaseNotes = reader.readElementText();
        else if (reader.namespaceUri().isEmpty() && name == u"link")
            fields.link = reader.readElementText();
        else if (reader.namespaceUri().isEmpty() && name == u"enclosure") {
            const QXmlStreamAttributes attributes = reader.attributes();
            const QString sparkle = sparkleNamespace.toString();
            fields.enclosureUrl = attributes.value(QLatin1String("url")).toString();
            fields.enclosureShortVersion
                = attributes.value(sparkle, QLatin1String("shortVersionString")).toString();
            fields.enclosureBuildVersion = attributes.value(sparkle, QLatin1String("version")).toString();
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (reader.hasError())
        return;
    if (std::optional<AppcastItem> item = usableItem(fields))
        appcast.items.append(std::move(*item));
    else
        ++appcast.skippedItems;
}

} // namespace

std::optional<AppcastItem> Appcast::newest() const
{
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items) {
        if (!newest || item.version > newest->version)
            newest = item;
    }
    return newest;
}

std::optional<Appcast> parseAppcast(const QByteArray& document)
{
    QXmlStreamReader reader(document);
    if (!reader.readNextStartElement() || reader.name() != u"rss")
        return std::nullopt;
    Appcast appcast;
    while (reader.readNextStartElement()) {
        if (reader.name() != u"channel") {
            reader.skipCurrentElement();
            continue;
        }
        while (reader.readNextStartElement()) {
            if (reader.name() == u"item" && reader.namespaceUri().isEmpty())
                readItem(reader, appcast);
            else
                reader.skipCurrentElement();
        }
    }
    // Reading to the end catches a document that is cut off or carries junk after the feed.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        return std::nullopt;
    return appcast;
}

QVersionNumber parseReleaseVersion(const QString& text)
{
    static const QRegularExpression dottedNumbers(QStringLiteral("^\\d{1,9}(\\.\\d{1,9})*$"));
    if (!dottedNumbers.match(text).hasMatch())
        return {};
    return QVersionNumber::fromString(text).normalized();
}
