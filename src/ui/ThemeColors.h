#pragma once

#include <QColor>
#include <QObject>
#include <QVariantList>

#include "SideColors.h"

class ThemeManager;

/// The theme as colours: the focus and break colours with their fallbacks, the
/// palette for the picker, and the sides the animated backgrounds draw.
class ThemeColors : public QObject {
    Q_OBJECT
    Q_PROPERTY(QColor focusColor READ focusColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor breakColor READ breakColor NOTIFY colorsChanged)
    /// The twelve palette entries in picker order: { id, name, color }.
    Q_PROPERTY(QVariantList options READ options CONSTANT)

public:
    explicit ThemeColors(ThemeManager& theme, QObject* parent = nullptr);

    QColor focusColor() const;
    QColor breakColor() const;
    QVariantList options() const;
    SideColors::Side focusSide() const { return SideColors::focusSide(m_focusId); }
    SideColors::Side breakSide() const { return SideColors::breakSide(m_breakId); }
    ThemeManager& themeManager() const { return m_theme; }

    /// The palette colour of `id`, or `fallback` when the id is not in the palette.
    Q_INVOKABLE static QColor colorForId(const QString& id, const QColor& fallback);
    /// A 0xRRGGBB value (as tags store them) as a colour.
    Q_INVOKABLE static QColor rgb(quint32 value) { return QColor::fromRgb(value & 0xFFFFFFu); }

signals:
    void colorsChanged();

private:
    void refresh();

    ThemeManager& m_theme;
    QString m_focusId;
    QString m_breakId;
};
