#include "TagManagementModel.h"

#include <QColor>

#include "data/TagManager.h"

TagManagementModel::TagManagementModel(QObject* parent)
    : QAbstractListModel(parent)
{ }

int TagManagementModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant TagManagementModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const QString& tag = m_tags.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return tag;
    case ColorRole:
        return QColor::fromRgb(m_colors.value(index.row()) & 0xFFFFFFu);
    case IsDefaultRole:
        return TagManager::defaultTags().contains(tag);
    case IsEditingRole:
        return isEditing(tag);
    default:
        return {};
    }
}

QHash<int, QByteArray> TagManagementModel::roleNames() const
{
    return { { NameRole, "name" }, { ColorRole, "tagColor" }, { IsDefaultRole, "isDefault" },
        { IsEditingRole, "isEditing" } };
}

QObject* TagManagementModel::tagManagerObject() const
{
    return m_tagManager;
}

void TagManagementModel::setTagManager(QObject* object)
{
    auto* tagManager = qobject_cast<TagManager*>(object);
    if (m_tagManager == tagManager)
        return;
    if (m_tagManager)
        m_tagManager->disconnect(this);
    m_tagManager = tagManager;
    if (m_tagManager) {
        connect(m_tagManager, &TagManager::availableTagsChanged, this, &TagManagementModel::syncTags);
        connect(m_tagManager, &TagManager::tagColorMapChanged, this, &TagManagementModel::syncColors);
    }
    syncTags();
    emit tagManagerChanged();
}

QList<quint32> TagManagementModel::colorsFor(const QStringList& tags)
{
    if (!m_tagManager)
        return QList<quint32>(tags.size(), 0);
    // Asking for colours can give a tag its first one, which signals back here.
    m_syncing = true;
    QList<quint32> colors = m_tagManager->colorsForTags(tags);
    m_syncing = false;
    return colors;
}

void TagManagementModel::syncTags()
{
    const QStringList next = m_tagManager ? m_tagManager->availableTags() : QStringList();
    const QList<quint32> nextColors = colorsFor(next);
    // Only the rows that differ change, so adding one tag to a long list makes one new row.
    const qsizetype oldCount = m_tags.size();
    const qsizetype newCount = next.size();
    qsizetype prefix = 0;
    while (prefix < oldCount && prefix < newCount && m_tags[prefix] == next[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix
        && m_tags[oldCount - 1 - suffix] == next[newCount - 1 - suffix])
        ++suffix;
    const int first = int(prefix);
    const int removed = int(oldCount - prefix - suffix);
    const int inserted = int(newCount - prefix - suffix);
    if (removed == inserted) {
        m_tags = next;
        m_colors = nextColors;
        if (removed > 0)
            emit dataChanged(index(first), index(first + removed - 1));
    } else {
        if (removed > 0) {
            beginRemoveRows({}, first, first + removed - 1);
            m_tags.remove(prefix, removed);
            m_colors.remove(prefix, removed);
            endRemoveRows();
        }
        if (inserted > 0) {
            beginInsertRows({}, first, first + inserted - 1);
            m_tags = next;
            m_colors = nextColors;
            endInsertRows();
        }
        emit countChanged();
    }
    if (m_colors != nextColors) {
        m_colors = nextColors;
        if (count() > 0)
            emit dataChanged(index(0), index(count() - 1), { ColorRole });
    }
}

void TagManagementModel::syncColors()
{
    if (m_syncing || !m_tagManager)
        return;
    const QList<quint32> colors = colorsFor(m_tags);
    if (colors == m_colors)
        return;
    m_colors = colors;
    if (count() > 0)
        emit dataChanged(index(0), index(count() - 1), { ColorRole });
}

QString TagManagementModel::countText() const
{
    return tr("%n tag(s)", nullptr, count());
}

void TagManagementModel::setNewTagName(const QString& name)
{
    if (m_newTagName == name)
        return;
    m_newTagName = name;
    emit addDialogChanged();
}

void TagManagementModel::setEditedName(const QString& name)
{
    if (m_editedName == name)
        return;
    m_editedName = name;
    emit renameChanged();
}

QString TagManagementModel::deleteMessage() const
{
    return tr("Delete \"%1\"? This can't be undone.").arg(tagToDelete());
}

void TagManagementModel::openAddDialog()
{
    m_showAddAlert = true;
    emit addDialogChanged();
}

void TagManagementModel::cancelAdd()
{
    m_showAddAlert = false;
    m_newTagName.clear();
    emit addDialogChanged();
}

void TagManagementModel::confirmAdd()
{
    const QString name = m_newTagName;
    m_showAddAlert = false;
    m_newTagName.clear();
    emit addDialogChanged();
    if (m_tagManager)
        m_tagManager->addTag(name);
}

int TagManagementModel::rowOf(const QString& tag) const
{
    return int(m_tags.indexOf(tag));
}

void TagManagementModel::setEditingTag(const std::optional<QString>& tag)
{
    const std::optional<QString> previous = m_editingTag;
    m_editingTag = tag;
    for (const std::optional<QString>& changed : { previous, tag }) {
        const int row = changed ? rowOf(*changed) : -1;
        if (row >= 0)
            emit dataChanged(index(row), index(row), { IsEditingRole });
    }
    emit renameChanged();
}

void TagManagementModel::startRename(const QString& tag)
{
    m_editedName = tag;
    setEditingTag(tag);
}

void TagManagementModel::commitRename()
{
    if (!m_editingTag)
        return;
    const QString oldName = *m_editingTag;
    const QString newName = m_editedName;
    setEditingTag(std::nullopt);
    if (m_tagManager)
        m_tagManager->renameTag(oldName, newName);
}

void TagManagementModel::cancelRename()
{
    setEditingTag(std::nullopt);
}

void TagManagementModel::requestDelete(const QString& tag)
{
    m_tagToDelete = tag;
    m_showDeleteConfirm = true;
    emit deleteDialogChanged();
}

void TagManagementModel::cancelDelete()
{
    m_tagToDelete.reset();
    m_showDeleteConfirm = false;
    emit deleteDialogChanged();
}

void TagManagementModel::confirmDelete()
{
    const std::optional<QString> tag = m_tagToDelete;
    m_tagToDelete.reset();
    m_showDeleteConfirm = false;
    emit deleteDialogChanged();
    if (tag && m_tagManager)
        m_tagManager->deleteTag(*tag);
}
