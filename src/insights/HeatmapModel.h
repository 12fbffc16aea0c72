#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <vector>

#include "HeatmapCells.h"
#include "InsightsDependencies.h"

class FigureInputs;

/// Provides the Activity card: the twelve-week grid of days, its row labels and legend.
/// Rows of the list are the cells row by row, Sunday first: index = day × columns + week.
class HeatmapModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int columns READ columns CONSTANT)
    Q_PROPERTY(int rows READ rows CONSTANT)
    /// Seven labels, Sunday first; only Monday, Wednesday and Friday carry one.
    Q_PROPERTY(QStringList rowLabels READ rowLabels CONSTANT)
    /// Fill colours of levels 0 … 4 for the legend.
    Q_PROPERTY(QStringList legendColors READ legendColors NOTIFY focusColorChanged)
    /// Outline of a past or present cell and of the legend squares.
    Q_PROPERTY(QString borderColor READ borderColor CONSTANT)
    Q_PROPERTY(QString focusColor READ focusColor NOTIFY focusColorChanged)
    /// One text per column, oldest week first, for reading aloud: the tips of its days up to today.
    Q_PROPERTY(QStringList weekTexts READ weekTexts NOTIFY weekTextsChanged)

public:
    enum Role {
        WeekRole = Qt::UserRole + 1,
        DayRole,
        DateRole,
        IsFutureRole,
        FocusMinutesRole,
        LevelRole,
        TooltipRole,
        FillColorRole,
        BorderColorRole,
    };

    explicit HeatmapModel(InsightsDependencies dependencies, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int columns() const { return Heatmap::columns; }
    int rows() const { return Heatmap::rows; }
    QStringList rowLabels() const;
    QStringList legendColors() const;
    QString borderColor() const;
    QString focusColor() const;
    QStringList weekTexts() const;

    const std::vector<HeatmapCell>& cells() const;
    /// The fill of a cell: clear in the future, otherwise the colour of its level.
    QString fillColor(const HeatmapCell& cell) const;

signals:
    void focusColorChanged();
    void weekTextsChanged();

private:
    void onStale();
    QString levelColor(int level) const;

    FigureInputs* m_inputs;
    mutable std::vector<HeatmapCell> m_cells;
};
