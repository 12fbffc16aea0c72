#pragma once

#include <QColor>
#include <QQuickPaintedItem>

/// A circular track with an arc from 12 o'clock clockwise over `progress` of the
/// circle, stroked with round caps (butt caps for the track).
class ProgressRing : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double progress READ progress WRITE setProgress NOTIFY progressChanged)
    Q_PROPERTY(double lineWidth READ lineWidth WRITE setLineWidth NOTIFY lookChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY lookChanged)
    Q_PROPERTY(QColor trackColor READ trackColor WRITE setTrackColor NOTIFY lookChanged)

public:
    explicit ProgressRing(QQuickItem* parent = nullptr);

    double progress() const { return m_progress; }
    void setProgress(double progress);
    double lineWidth() const { return m_lineWidth; }
    void setLineWidth(double width);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    QColor trackColor() const { return m_trackColor; }
    void setTrackColor(const QColor& color);

    void paint(QPainter* painter) override;

signals:
    void progressChanged();
    void lookChanged();

private:
    double m_progress = 0;
    double m_lineWidth = 5;
    QColor m_color = Qt::black;
    QColor m_trackColor = Qt::lightGray;
};
