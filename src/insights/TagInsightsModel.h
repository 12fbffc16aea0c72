#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <optional>
#include <vector>

#include "InsightsDependencies.h"
#include "TagStatistics.h"
#include "TimeRange.h"

class FigureInputs;

/// Provides the "Time by Tag" card: one row per tag over the selected time range, largest first,
/// with its colour, figures, texts and ring slice.
class TagInsightsModel : public QAbstractListModel {
    Q_OBJECT
    /// "All", "7d", "30d", "90d": the switch's segments, in order.
    Q_PROPERTY(QStringList segments READ segments CONSTANT)
    /// The selected segment: "All" for all time, otherwise the range's raw value.
    Q_PROPERTY(QString selectedSegment READ selectedSegment NOTIFY selectedTimeRangeChanged)
    /// The range's raw value, or an empty string for all time.
    Q_PROPERTY(QString selectedTimeRange READ selectedTimeRangeText NOTIFY selectedTimeRangeChanged)
    Q_PROPERTY(QString totalLabel READ totalLabel NOTIFY figuresChanged)
    /// The number of rows, shown in the ring's centre.
    Q_PROPERTY(int tagCount READ tagCount NOTIFY figuresChanged)
    /// The word under that number ("tag", "tags").
    Q_PROPERTY(QString tagCountCaption READ tagCountCaption NOTIFY figuresChanged)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY figuresChanged)

public:
    enum Role {
        TagRole = Qt::UserRole + 1,
        ColorRole,
        TotalMinutesRole,
        SessionCountRole,
        StartAngleRole,
        EndAngleRole,
        MinutesTextRole,
        SessionsTextRole,
    };

    explicit TagInsightsModel(InsightsDependencies dependencies, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    static QStringList segments();
    /// What a segment reads in the user's language: "All", "7d", ….
    Q_INVOKABLE static QString segmentTitle(const QString& segment);
    QString selectedSegment() const;
    std::optional<TimeRange> selectedTimeRange() const { return m_range; }
    QString selectedTimeRangeText() const { return m_range ? rawValue(*m_range) : QString(); }
    void setSelectedTimeRange(std::optional<TimeRange> range);
    /// A tap on a segment: "All" selects all time; a range selects it, or all time when it was selected
    /// already.
    Q_INVOKABLE void selectSegment(const QString& segment);

    QString totalLabel() const;
    int tagCount() const { return static_cast<int>(figures().stats.size()); }
    QString tagCountCaption() const;
    bool isEmpty() const { return figures().stats.empty(); }

    struct Row {
        TagStats stats;
        quint32 color = 0;
        SliceAngles angles;
    };
    const std::vector<Row>& tagRows() const { return figures().rows; }
    const std::vector<TagStats>& stats() const { return figures().stats; }

signals:
    void selectedTimeRangeChanged();
    void figuresChanged();

private:
    struct Figures {
        std::vector<TagStats> stats;
        std::vector<Row> rows;
        qint64 totalMinutes = 0;
    };
    const Figures& figures() const;
    void onStale();

    FigureInputs* m_inputs;
    std::optional<TimeRange> m_range;
    mutable Figures m_figures;
};
