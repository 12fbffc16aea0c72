#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <memory>

class QQmlEngine;
class QQuickWindow;

/// The QML engine shared by the popover and every dashboard window. It is created
/// when the first window is, so a Velto that only shows its tray item never loads it.
class ViewEngine : public QObject {
    Q_OBJECT

public:
    explicit ViewEngine(QObject* parent = nullptr);
    ~ViewEngine() override;

    QQmlEngine& engine();
    /// A new window from a root file of the module ("PopoverWindow.qml"); null when the
    /// file cannot be loaded (the reasons are logged and kept in `errors`).
    QQuickWindow* createWindow(const QString& rootFile, const QVariantMap& initialProperties = {});
    /// Every QML warning and error since the engine was created.
    const QStringList& errors() const { return m_errors; }

private:
    std::unique_ptr<QQmlEngine> m_engine;
    QStringList m_errors;
};
