#pragma once

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

class ThemeManager;

/// The colour picker: one palette id highlighted until the user applies it to the
/// focus or the break colour.
class ColorPickerModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The popover owns the colour picker")
    Q_PROPERTY(bool isForFocus READ isForFocus NOTIFY targetChanged)
    Q_PROPERTY(QString selectedColorId READ selectedColorId NOTIFY selectedColorIdChanged)
    Q_PROPERTY(QColor previewColor READ previewColor NOTIFY selectedColorIdChanged)

public:
    explicit ColorPickerModel(ThemeManager& theme, QObject* parent = nullptr);

    bool isForFocus() const { return m_isForFocus; }
    QString selectedColorId() const { return m_selectedColorId; }
    /// The highlighted colour; mint when the id is not in the palette.
    QColor previewColor() const;

    /// Starts editing one side from its stored id.
    void begin(bool forFocus);
    Q_INVOKABLE void select(const QString& id);
    /// Stores the highlighted id for the edited side (both ids are written).
    void apply();

signals:
    void targetChanged();
    void selectedColorIdChanged();

private:
    ThemeManager& m_theme;
    bool m_isForFocus = true;
    QString m_selectedColorId;
};
