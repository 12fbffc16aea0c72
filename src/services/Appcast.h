#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <QVersionNumber>
#include <optional>

/// One release named by an update feed.
struct AppcastItem {
    QString versionText;
    QVersionNumber version;
    /// The page that offers the release: the item's link, else its release notes, else the file itself.
    QUrl page;
};

/// The usable releases of an RSS "appcast" feed, in document order.
struct Appcast {
    QList<AppcastItem> items;
    /// Items left out: no plain dotted version, or no http(s) address.
    int skippedItems = 0;

    /// The item with the highest version; the first of equals.
    std::optional<AppcastItem> newest() const;
};

/// Reads an RSS appcast with Sparkle's version attributes and elements.
/// Returns nothing when the document is not well-formed XML or not RSS.
std::optional<Appcast> parseAppcast(const QByteArray& document);

/// A version of dotted whole numbers ("1.10.2"); trailing zeros do not count, so "1.1" equals "1.1.0".
/// Empty for anything else, pre-release suffixes included.
QVersionNumber parseReleaseVersion(const QString& text);
