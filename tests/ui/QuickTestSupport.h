#pragma once

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

/// Finding items of a loaded view and clicking them as a user would.
namespace QuickTestSupport {

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

} // namespace QuickTestSupport
