#pragma once

#include <QAbstractItemModel>
#include <QColor>
#include <QPointer>
#include <QQuickPaintedItem>

/// The "Time by Tag" pie: one slice per row of `model`, read from its "startAngle"
/// and "endAngle" roles (degrees, clockwise on screen, -90 at the top) and its
/// "color" role, each filled and outlined. Painted with antialiasing, which the
/// software renderer gives painted items but not shapes.
class TagRingChart : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QAbstractItemModel* model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(QColor strokeColor READ strokeColor WRITE setStrokeColor NOTIFY lookChanged)
    Q_PROPERTY(double strokeWidth READ strokeWidth WRITE setStrokeWidth NOTIFY lookChanged)
    /// The pie's radius: half the smaller side less 10.
    Q_PROPERTY(double radius READ radius NOTIFY radiusChanged)

public:
    explicit TagRingChart(QQuickItem* parent = nullptr);

    QAbstractItemModel* model() const { return m_model; }
    void setModel(QAbstractItemModel* model);
    QColor strokeColor() const { return m_strokeColor; }
    void setStrokeColor(const QColor& color);
    double strokeWidth() const { return m_strokeWidth; }
    void setStrokeWidth(double width);
    double radius() const;

    struct Slice {
        double startAngle = -90;
        double endAngle = -90;
        QColor color;
    };
    /// The slices as the model gives them now.
    QList<Slice> slices() const;
    /// The outline of one slice around `centre`: centre, arc, back to the centre.
    static QPainterPath slicePath(QPointF centre, double radius, double startAngle, double endAngle);

    void paint(QPainter* painter) override;

signals:
    void modelChanged();
    void lookChanged();
    void radiusChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    QPointer<QAbstractItemModel> m_model;
    QColor m_strokeColor = Qt::black;
    double m_strokeWidth = 1.5;
};
