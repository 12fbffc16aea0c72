#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QUrl>
#include <functional>

class UpdateCheckResult;
class ViewEngine;

/// The small windows that tell the user something: "About Velto" and the outcome of an
/// update check, each in a window of its own, so they also open while no dashboard is.
/// There is at most one of each: asking again brings the open one forward with the new
/// content. A closed window is deleted.
class DialogWindows : public QObject {
    Q_OBJECT

public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    /// `openUrl` opens the download page; the default is the desktop's browser.
    explicit DialogWindows(ViewEngine& views, UrlOpener openUrl = {}, QObject* parent = nullptr);
    ~DialogWindows() override;

    void showAbout();
    void showUpdateResult(const UpdateCheckResult& result);

    QQuickWindow* aboutWindow() const { return m_about; }
    QQuickWindow* updateWindow() const { return m_update; }

private slots:
    void openDownloadPage();

private:
    QQuickWindow* open(QPointer<QQuickWindow>& slot, const QString& rootFile, const QVariantMap& properties);

    ViewEngine& m_views;
    UrlOpener m_openUrl;
    QPointer<QQuickWindow> m_about;
    QPointer<QQuickWindow> m_update;
    QUrl m_downloadPage;
};
