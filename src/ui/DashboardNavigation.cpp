#include "DashboardNavigation.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QVariantMap>
#include <array>

namespace {
struct Section {
    const char* id;
    const char* title;
    const char* symbol;
};
constexpr std::array<Section, 4> kSections { {
    { DashboardNavigation::insights, QT_TRANSLATE_NOOP("DashboardNavigation", "Insights"), "chart.bar.fill" },
    { DashboardNavigation::tags, QT_TRANSLATE_NOOP("DashboardNavigation", "Tags"), "tag.fill" },
    { DashboardNavigation::integrations, QT_TRANSLATE_NOOP("DashboardNavigation", "Integrations"),
        "puzzlepiece.fill" },
    { DashboardNavigation::settings, QT_TRANSLATE_NOOP("DashboardNavigation", "Settings"), "gearshape.fill" },
} };
} // namespace

QUrl DashboardNavigation::makerSiteUrl()
{
    return QUrl(QStringLiteral("https://murv.studio"));
}
QUrl DashboardNavigation::toolsPageUrl()
{
    return QUrl(QStringLiteral("https://murv.studio/tools"));
}

DashboardNavigation::DashboardNavigation(UrlOpener openUrl, QObject* parent)
    : QObject(parent)
    , m_openUrl(openUrl ? std::move(openUrl) : UrlOpener(&QDesktopServices::openUrl))
{ }

QString DashboardNavigation::sectionForId(const QString& id)
{
    // Exact comparison: "Settings" is not an id and opens Insights.
    for (const Section& section : kSections) {
        if (id == QLatin1String(section.id))
            return id;
    }
    return QLatin1String(insights);
}

QString DashboardNavigation::sectionTitle(const QString& section)
{
    const QString id = sectionForId(section);
    for (const Section& s : kSections) {
        if (id == QLatin1String(s.id))
            return QCoreApplication::translate("DashboardNavigation", s.title);
    }
    return {};
}

QVariantList DashboardNavigation::sections()
{
    QVariantList list;
    for (const Section& s : kSections) {
        list.append(QVariantMap { { QStringLiteral("id"), QLatin1String(s.id) },
            { QStringLiteral("title"), QCoreApplication::translate("DashboardNavigation", s.title) },
            { QStringLiteral("symbol"), QLatin1String(s.symbol) } });
    }
    return list;
}

QString DashboardNavigation::versionText() const
{
    const QString version = QCoreApplication::applicationVersion();
    return QLatin1Char('v') + (version.isEmpty() ? QStringLiteral("unknown") : version);
}

void DashboardNavigation::selectSection(const QString& section)
{
    emit sectionSelected(sectionForId(section));
}

void DashboardNavigation::openUrl(const QUrl& url)
{
    if (url.isValid())
        m_openUrl(url);
}
