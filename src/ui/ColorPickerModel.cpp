#include "ColorPickerModel.h"

#include "ThemeColors.h"
#include "data/ThemeManager.h"

ColorPickerModel::ColorPickerModel(ThemeManager& theme, QObject* parent)
    : QObject(parent)
    , m_theme(theme)
{
    m_selectedColorId = theme.focusColorId();
}

QColor ColorPickerModel::previewColor() const
{
    return ThemeColors::colorForId(m_selectedColorId, QColor::fromRgb(fallbackBreakColor));
}

void ColorPickerModel::begin(bool forFocus)
{
    if (m_isForFocus != forFocus) {
        m_isForFocus = forFocus;
        emit targetChanged();
    }
    select(forFocus ? m_theme.focusColorId() : m_theme.breakColorId());
}

void ColorPickerModel::select(const QString& id)
{
    if (m_selectedColorId == id)
        return;
    m_selectedColorId = id;
    emit selectedColorIdChanged();
}

void ColorPickerModel::apply()
{
    if (m_isForFocus)
        m_theme.setFocusColorId(m_selectedColorId);
    else
        m_theme.setBreakColorId(m_selectedColorId);
    m_theme.saveColors();
}
