// The dashboard's rules outside the views: which section a window opens on, the
// hook every sidebar selection reports to, the Manage panel's dialogs and rename
// mode, and which way the tag ring turns.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

#include "MemoryPreferences.h"
#include "data/TagManager.h"
#include "i18n/Translations.h"
#include "ui/DashboardNavigation.h"
#include "ui/TagManagementModel.h"
#include "ui/TagRingChart.h"

namespace {

TEST(DashboardNavigation, OnlyTheLowerCaseIdsNameASection)
{
    for (const char* id : { "insights", "tags", "integrations", "settings" })
        EXPECT_EQ(DashboardNavigation::sectionForId(QString::fromLatin1(id)), QString::fromLatin1(id));
    for (const char* other : { "Settings", "TAGS", "", " tags", "tags ", "dashboard", "Insights" })
        EXPECT_EQ(DashboardNavigation::sectionForId(QString::fromLatin1(other)), QStringLiteral("insights"))
            << other;

    QStringList ids;
    QStringList titles;
    for (const QVariant& section : DashboardNavigation::sections()) {
        ids.append(section.toMap().value(QStringLiteral("id")).toString());
        titles.append(section.toMap().value(QStringLiteral("title")).toString());
    }
    EXPECT_EQ(ids, QStringList({ "insights", "tags", "integrations", "settings" }));
    EXPECT_EQ(titles, QStringList({ "Insights", "Tags", "Integrations", "Settings" }));
    EXPECT_EQ(
        DashboardNavigation::sectionTitle(QStringLiteral("integrations")), QStringLiteral("Integrations"));
    EXPECT_EQ(DashboardNavigation::sectionTitle(QStringLiteral("Integrations")), QStringLiteral("Insights"));
}

TEST(DashboardNavigation, EverySelectionIsReportedAndAddressesGoToTheOpener)
{
    QList<QUrl> opened;
    DashboardNavigation navigation([&](const QUrl& url) {
        opened.append(url);
        return false; // a failure changes nothing
    });
    QSignalSpy selected(&navigation, &DashboardNavigation::sectionSelected);
    navigation.selectSection(QStringLiteral("tags"));
    navigation.selectSection(QStringLiteral("tags"));
    navigation.selectSection(QStringLiteral("settings"));
    ASSERT_EQ(selected.size(), 3);
    EXPECT_EQ(selected.at(0).at(0).toString(), QStringLiteral("tags"));
    EXPECT_EQ(selected.at(1).at(0).toString(), QStringLiteral("tags"));
    EXPECT_EQ(selected.at(2).at(0).toString(), QStringLiteral("settings"));

    navigation.openMakerSite();
    navigation.openToolsPage();
    navigation.openUrl(QUrl());
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(0), DashboardNavigation::makerSiteUrl());
    EXPECT_EQ(opened.at(1), DashboardNavigation::toolsPageUrl());
    EXPECT_EQ(opened.at(0).scheme(), QStringLiteral("https"));
    EXPECT_EQ(opened.at(1).scheme(), QStringLiteral("https"));

    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    EXPECT_EQ(navigation.versionText(), QStringLiteral("v1.0.0"));
}

class TagManagement : public ::testing::Test {
protected:
    void SetUp() override { model.setTagManager(&tags); }
    QStringList rows() const
    {
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names.append(model.data(model.index(row), TagManagementModel::NameRole).toString());
        return names;
    }
    bool flag(const QString& tag, int role) const
    {
        return model.data(model.index(int(rows().indexOf(tag))), role).toBool();
    }

    MemoryPreferences prefs;
    TagManager tags { prefs };
    TagManagementModel model;
};

TEST_F(TagManagement, ListsTheTagsWithTheirColoursAndMarksTheDefaults)
{
    EXPECT_EQ(rows(), tags.availableTags());
    EXPECT_EQ(model.countText(), QStringLiteral("6 tags"));
    for (const QString& tag : TagManager::defaultTags())
        EXPECT_TRUE(flag(tag, TagManagementModel::IsDefaultRole)) << tag.toStdString();
    const QColor first = model.data(model.index(0), TagManagementModel::ColorRole).value<QColor>();
    EXPECT_EQ(first.rgb() & 0xFFFFFFu, tags.colorForTag(rows().first()));

    // One new tag at the end of a long list is one new row, not a new list.
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    tags.addTag(QStringLiteral("Reading"));
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 6);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 6);
    EXPECT_EQ(reset.size(), 0);
    EXPECT_EQ(rows(), tags.availableTags());
    EXPECT_FALSE(flag(QStringLiteral("Reading"), TagManagementModel::IsDefaultRole));
    EXPECT_EQ(model.countText(), QStringLiteral("7 tags"));
    EXPECT_EQ(model.data(model.index(6), TagManagementModel::ColorRole).value<QColor>().rgb() & 0xFFFFFFu,
        tags.colorForTag(QStringLiteral("Reading")));
}

TEST_F(TagManagement, TheAddDialogStartsEmptyAfterCancelAndAddsWhatWasTyped)
{
    model.openAddDialog();
    EXPECT_TRUE(model.showAddAlert());
    model.setNewTagName(QStringLiteral("Garden"));
    model.cancelAdd();
    EXPECT_FALSE(model.showAddAlert());
    EXPECT_TRUE(model.newTagName().isEmpty());
    EXPECT_FALSE(tags.availableTags().contains(QStringLiteral("Garden")));

    model.openAddDialog();
    EXPECT_TRUE(model.newTagName().isEmpty());
    model.setNewTagName(QStringLiteral("  Garden "));
    model.confirmAdd();
    EXPECT_FALSE(model.showAddAlert());
    EXPECT_TRUE(model.newTagName().isEmpty());
    EXPECT_EQ(rows().last(), QStringLiteral("Garden"));
}

TEST_F(TagManagement, OneRowRenamesAtATimeAndReturnCommits)
{
    tags.addTag(QStringLiteral("Reading"));
    tags.addTag(QStringLiteral("Garden"));
    model.startRename(QStringLiteral("Reading"));
    EXPECT_EQ(model.editingTag(), QStringLiteral("Reading"));
    EXPECT_EQ(model.editedName(), QStringLiteral("Reading"));
    EXPECT_TRUE(flag(QStringLiteral("Reading"), TagManagementModel::IsEditingRole));
    model.setEditedName(QStringLiteral("Books"));

    // Moving to another row leaves the first without renaming it.
    model.startRename(QStringLiteral("Garden"));
    EXPECT_FALSE(flag(QStringLiteral("Reading"), TagManagementModel::IsEditingRole));
    EXPECT_TRUE(flag(QStringLiteral("Garden"), TagManagementModel::IsEditingRole));
    EXPECT_EQ(model.editedName(), QStringLiteral("Garden"));
    EXPECT_TRUE(tags.availableTags().contains(QStringLiteral("Reading")));

    const quint32 colour = tags.colorForTag(QStringLiteral("Garden"));
    model.setEditedName(QStringLiteral("Plants"));
    model.commitRename();
    EXPECT_TRUE(model.editingTag().isEmpty());
    EXPECT_EQ(rows(), tags.availableTags());
    EXPECT_TRUE(rows().contains(QStringLiteral("Plants")));
    EXPECT_FALSE(rows().contains(QStringLiteral("Garden")));
    EXPECT_EQ(
        model.data(model.index(int(rows().indexOf(QStringLiteral("Plants")))), TagManagementModel::ColorRole)
                .value<QColor>()
                .rgb()
            & 0xFFFFFFu,
        colour);

    // A name the tag manager refuses leaves the list as it was, and rename mode ends anyway.
    model.startRename(QStringLiteral("Plants"));
    model.setEditedName(QStringLiteral("Reading"));
    model.commitRename();
    EXPECT_TRUE(model.editingTag().isEmpty());
    EXPECT_EQ(rows(), tags.availableTags());
    EXPECT_TRUE(rows().contains(QStringLiteral("Plants")));
}

TEST_F(TagManagement, DeletingAsksFirstAndQuotesTheName)
{
    tags.addTag(QStringLiteral("Side \"Project\""));
    model.requestDelete(QStringLiteral("Side \"Project\""));
    EXPECT_TRUE(model.showDeleteConfirm());
    EXPECT_EQ(model.deleteMessage(), QStringLiteral("Delete \"Side \"Project\"\"? This can't be undone."));
    model.cancelDelete();
    EXPECT_FALSE(model.showDeleteConfirm());
    EXPECT_TRUE(model.tagToDelete().isEmpty());
    EXPECT_EQ(model.count(), 7);

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.requestDelete(QStringLiteral("Side \"Project\""));
    model.confirmDelete();
    EXPECT_FALSE(model.showDeleteConfirm());
    EXPECT_TRUE(model.tagToDelete().isEmpty());
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(rows(), tags.availableTags());
    EXPECT_EQ(model.countText(), QStringLiteral("6 tags"));
}

/// A model with the roles the ring reads.
class SliceModel : public QAbstractListModel {
public:
    struct Slice {
        double start;
        double end;
        QString color;
    };
    explicit SliceModel(QList<Slice> slices)
        : m_slices(std::move(slices))
    { }
    int rowCount(const QModelIndex& = {}) const override { return int(m_slices.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const Slice& s = m_slices.at(index.row());
        return role == 1 ? QVariant(s.start) : role == 2 ? QVariant(s.end) : QVariant(s.color);
    }
    QHash<int, QByteArray> roleNames() const override
    {
        return { { 1, "startAngle" }, { 2, "endAngle" }, { 3, "color" } };
    }

private:
    QList<Slice> m_slices;
};

TEST(TagRingChart, SlicesTurnClockwiseFromTheTop)
{
    // Reading 150 of 200 minutes: -90° to 180°; Work: 180° to 270°.
    SliceModel slices({ { -90, 180, QStringLiteral("#FF0000") }, { 180, 270, QStringLiteral("#0000FF") } });
    TagRingChart chart;
    chart.setModel(&slices);
    chart.setSize(QSizeF(220, 200));
    EXPECT_DOUBLE_EQ(chart.radius(), 90);

    QImage image(220, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.paint(&painter);
    painter.end();
    const QPoint centre(110, 100);
    const auto at = [&](double degrees) {
        const double radians = degrees * M_PI / 180;
        return image.pixelColor(centre
            + QPoint(int(std::lround(60 * std::cos(radians))), int(std::lround(60 * std::sin(radians)))));
    };
    EXPECT_EQ(at(0), QColor(Qt::red)); // right
    EXPECT_EQ(at(90), QColor(Qt::red)); // bottom
    EXPECT_EQ(at(135), QColor(Qt::red)); // lower left
    EXPECT_EQ(at(225), QColor(Qt::blue)); // upper left
    EXPECT_EQ(image.pixelColor(centre + QPoint(0, 95)), QColor(Qt::white)); // outside the radius
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Translations::install({}); // English, with its plural forms
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
