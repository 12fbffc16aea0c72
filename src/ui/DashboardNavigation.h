#pragma once

#include <QObject>
#include <QUrl>
#include <QVariantList>
#include <functional>

/// The dashboard's sections and what the windows ask of the application: the
/// section a window opens on, the hook every sidebar selection reports to,
/// opening web addresses, About and Quit. One instance serves all dashboard
/// windows, so the application connects once.
class DashboardNavigation : public QObject {
    Q_OBJECT
    /// The sidebar rows in order: { id, title, symbol }.
    Q_PROPERTY(QVariantList sections READ sections CONSTANT)
    /// "v" and the application's version, "v1.0.0".
    Q_PROPERTY(QString versionText READ versionText CONSTANT)

public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    static constexpr const char* insights = "insights";
    static constexpr const char* tags = "tags";
    static constexpr const char* integrations = "integrations";
    static constexpr const char* settings = "settings";

    /// The maker's web site (footer link) and tools page (where to get Calmix).
    static QUrl makerSiteUrl();
    static QUrl toolsPageUrl();

    /// `openUrl` opens web addresses; the default is the desktop's browser.
    explicit DashboardNavigation(UrlOpener openUrl = {}, QObject* parent = nullptr);

    /// The section a window opens on: the lower-case ids name theirs, anything else is Insights.
    Q_INVOKABLE static QString sectionForId(const QString& id);
    /// The section's title as the sidebar and the detail pane show it.
    Q_INVOKABLE static QString sectionTitle(const QString& section);
    static QVariantList sections();
    QString versionText() const;

    /// A sidebar selection; reports it through `sectionSelected`, also when it was selected already.
    Q_INVOKABLE void selectSection(const QString& section);
    /// Opens `url` in the default browser; a failure is ignored.
    Q_INVOKABLE void openUrl(const QUrl& url);
    Q_INVOKABLE void openMakerSite() { openUrl(makerSiteUrl()); }
    Q_INVOKABLE void openToolsPage() { openUrl(toolsPageUrl()); }
    Q_INVOKABLE void requestAbout() { emit aboutRequested(); }
    Q_INVOKABLE void requestQuit() { emit quitRequested(); }

signals:
    /// The selected section's id in lower case: "insights", "tags", "integrations" or "settings".
    void sectionSelected(const QString& section);
    void aboutRequested();
    void quitRequested();

private:
    UrlOpener m_openUrl;
};
