#include "QuickAccessibility.h"

#include <QAccessible>
#include <QQuickItem>
#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qquickitem_p.h>

namespace QuickAccessibility {
namespace {
/// Qt Quick's own interface for an item, with the item's enabled state added.
class EnabledAwareItem : public QAccessibleQuickItem {
public:
    explicit EnabledAwareItem(QQuickItem* item)
        : QAccessibleQuickItem(item)
    {
        QObject::connect(item, &QQuickItem::enabledChanged, item, [item] {
            QAccessible::State changed;
            changed.disabled = true;
            changed.focusable = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
        });
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleQuickItem::state();
        if (!item()->isEnabled()) {
            state.disabled = true;
            state.focusable = false;
        }
        return state;
    }
};

/// Asked before Qt Quick's own factory, for the same items: those with accessibility
/// attached (a role, a name, or a control that sets them).
QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (!object || !object->isQuickItemType())
        return nullptr;
    auto* item = static_cast<QQuickItem*>(object);
    if (!QQuickItemPrivate::get(item)->isAccessible)
        return nullptr;
    return new EnabledAwareItem(item);
}
} // namespace

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace QuickAccessibility
