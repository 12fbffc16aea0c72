#pragma once

#include <QQuickItem>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTest>
#include <string>

/// Running views headless, finding their items and clicking them as a user would.
namespace QuickTestSupport {

/// Called before the application object: views drawn offscreen by the software renderer,
/// local times in Berlin, and Qt's test folders instead of the user's.
inline void prepareHeadlessViews()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "Europe/Berlin");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QStandardPaths::setTestModeEnabled(true);
}

inline QQuickItem* findItem(QQuickItem* root, const QString& objectName)
{
    if (!root)
        return nullptr;
    if (root->objectName() == objectName)
        return root;
    for (QQuickItem* child : root->childItems()) {
        if (QQuickItem* found = findItem(child, objectName))
            return found;
    }
    return nullptr;
}

inline QPoint centreOf(QQuickItem* item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

/// Clicks the centre of the named item; false when there is no such item.
inline bool click(QQuickWindow* window, const QString& objectName)
{
    QQuickItem* item = findItem(window->contentItem(), objectName);
    if (!item || !item->isVisible())
        return false;
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centreOf(item));
    QTest::qWait(50);
    return true;
}

inline bool longPress(QQuickWindow* window, const QString& objectName, int ms = 700)
{
    QQuickItem* item = findItem(window->contentItem(), objectName);
    if (!item)
        return false;
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, centreOf(item));
    QTest::qWait(ms);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, centreOf(item));
    QTest::qWait(50);
    return true;
}

/// The objectName of the item with the keyboard, or of its nearest named ancestor.
inline std::string focusedName(const QQuickWindow* window)
{
    for (QQuickItem* item = window->activeFocusItem(); item; item = item->parentItem()) {
        if (!item->objectName().isEmpty())
            return item->objectName().toStdString();
    }
    return {};
}

/// Waits up to two seconds for the keyboard to reach the item of that name.
inline bool focusReaches(const QQuickWindow* window, const std::string& name)
{
    return QTest::qWaitFor([&] { return focusedName(window) == name; }, 2000);
}

} // namespace QuickTestSupport
