#include "TagRingChart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>

TagRingChart::TagRingChart(QQuickItem* parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void TagRingChart::setModel(QAbstractItemModel* model)
{
    if (m_model == model)
        return;
    if (m_model)
        m_model->disconnect(this);
    m_model = model;
    if (m_model) {
        const auto repaint = [this] { update(); };
        connect(m_model, &QAbstractItemModel::modelReset, this, repaint);
        connect(m_model, &QAbstractItemModel::dataChanged, this, repaint);
        connect(m_model, &QAbstractItemModel::rowsInserted, this, repaint);
        connect(m_model, &QAbstractItemModel::rowsRemoved, this, repaint);
        connect(m_model, &QAbstractItemModel::rowsMoved, this, repaint);
    }
    emit modelChanged();
    update();
}

void TagRingChart::setStrokeColor(const QColor& color)
{
    m_strokeColor = color;
    emit lookChanged();
    update();
}

void TagRingChart::setStrokeWidth(double width)
{
    m_strokeWidth = width;
    emit lookChanged();
    update();
}

double TagRingChart::radius() const
{
    return std::max(0.0, std::min(width(), height()) / 2 - 10);
}

void TagRingChart::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        emit radiusChanged();
}

QList<TagRingChart::Slice> TagRingChart::slices() const
{
    QList<Slice> list;
    if (!m_model)
        return list;
    const QHash<int, QByteArray> names = m_model->roleNames();
    const int startRole = names.key("startAngle", -1);
    const int endRole = names.key("endAngle", -1);
    const int colorRole = names.key("color", -1);
    const int rows = m_model->rowCount();
    list.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_model->index(row, 0);
        list.append({ m_model->data(index, startRole).toDouble(), m_model->data(index, endRole).toDouble(),
            QColor(m_model->data(index, colorRole).toString()) });
    }
    return list;
}

QPainterPath TagRingChart::slicePath(QPointF centre, double radius, double startAngle, double endAngle)
{
    QPainterPath path(centre);
    const QRectF square(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Qt measures angles counter-clockwise; the slices turn clockwise on screen.
    path.arcTo(square, -startAngle, -(endAngle - startAngle));
    path.closeSubpath();
    return path;
}

void TagRingChart::paint(QPainter* painter)
{
    const double r = radius();
    if (r <= 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2, height() / 2);
    const QList<Slice> all = slices();
    painter->setPen(Qt::NoPen);
    for (const Slice& slice : all) {
        if (!std::isfinite(slice.startAngle) || !std::isfinite(slice.endAngle))
            continue;
        painter->setBrush(slice.color.isValid() ? slice.color : QColor(Qt::transparent));
        painter->drawPath(slicePath(centre, r, slice.startAngle, slice.endAngle));
    }
    // Each slice is outlined; with hundreds of thin slices the outlines alone would fill the
    // ring, so an edge closer to the last one drawn than a few stroke widths is left out.
    if (all.isEmpty())
        return;
    painter->setPen(QPen(m_strokeColor, m_strokeWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(centre, r, r);
    const double minimumGap = 3 * m_strokeWidth / r * 180 / M_PI; // degrees
    std::optional<double> first;
    double last = 0;
    const auto edge = [&](double angle) {
        if (!std::isfinite(angle))
            return;
        if (first && (angle - last < minimumGap || first.value() + 360 - angle < minimumGap))
            return;
        const double radians = angle * M_PI / 180;
        painter->drawLine(centre, centre + QPointF(r * std::cos(radians), r * std::sin(radians)));
        if (!first)
            first = angle;
        last = angle;
    };
    for (const Slice& slice : all)
        edge(slice.startAngle);
    if (all.size() > 1)
        edge(all.last().endAngle);
}
