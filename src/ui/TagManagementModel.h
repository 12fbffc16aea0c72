#pragma once

#include <QAbstractListModel>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <optional>

class TagManager;

/// The tag list of the Manage panel and the panel's own state: the Add Tag and
/// Delete Tag? dialogs and the row being renamed. Each panel makes its own, so
/// two dashboard windows never share a rename in progress. Names are checked by
/// the tag manager, not here.
class TagManagementModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    /// The shared TagManager (published as Tags).
    Q_PROPERTY(QObject* tagManager READ tagManagerObject WRITE setTagManager NOTIFY tagManagerChanged)
    /// "7 tags": the length of the tag list.
    Q_PROPERTY(QString countText READ countText NOTIFY countChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(bool showAddAlert READ showAddAlert NOTIFY addDialogChanged)
    Q_PROPERTY(QString newTagName READ newTagName WRITE setNewTagName NOTIFY addDialogChanged)
    /// The tag whose row is in rename mode; empty when none is.
    Q_PROPERTY(QString editingTag READ editingTag NOTIFY renameChanged)
    Q_PROPERTY(QString editedName READ editedName WRITE setEditedName NOTIFY renameChanged)
    Q_PROPERTY(bool showDeleteConfirm READ showDeleteConfirm NOTIFY deleteDialogChanged)
    Q_PROPERTY(QString tagToDelete READ tagToDelete NOTIFY deleteDialogChanged)
    /// Delete "Name"? This can't be undone.
    Q_PROPERTY(QString deleteMessage READ deleteMessage NOTIFY deleteDialogChanged)

public:
    enum Role { NameRole = Qt::UserRole + 1, ColorRole, IsDefaultRole, IsEditingRole };

    explicit TagManagementModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* tagManagerObject() const;
    void setTagManager(QObject* tagManager);
    int count() const { return static_cast<int>(m_tags.size()); }
    QString countText() const;
    bool showAddAlert() const { return m_showAddAlert; }
    QString newTagName() const { return m_newTagName; }
    void setNewTagName(const QString& name);
    QString editingTag() const { return m_editingTag.value_or(QString()); }
    bool isEditing(const QString& tag) const { return m_editingTag == tag; }
    QString editedName() const { return m_editedName; }
    void setEditedName(const QString& name);
    bool showDeleteConfirm() const { return m_showDeleteConfirm; }
    QString tagToDelete() const { return m_tagToDelete.value_or(QString()); }
    QString deleteMessage() const;

    Q_INVOKABLE void openAddDialog();
    /// Closes the dialog and forgets the typed name.
    Q_INVOKABLE void cancelAdd();
    /// Adds the typed name (the tag manager decides whether it is valid) and closes the dialog.
    Q_INVOKABLE void confirmAdd();
    /// Puts `tag`'s row in rename mode, starting from its name; another row in rename mode leaves it
    /// without renaming.
    Q_INVOKABLE void startRename(const QString& tag);
    /// Renames the edited tag to the edited name and leaves rename mode.
    Q_INVOKABLE void commitRename();
    /// Leaves rename mode without renaming.
    Q_INVOKABLE void cancelRename();
    Q_INVOKABLE void requestDelete(const QString& tag);
    Q_INVOKABLE void cancelDelete();
    Q_INVOKABLE void confirmDelete();

signals:
    void tagManagerChanged();
    void countChanged();
    void addDialogChanged();
    void renameChanged();
    void deleteDialogChanged();

private:
    void syncTags();
    void syncColors();
    QList<quint32> colorsFor(const QStringList& tags);
    void setEditingTag(const std::optional<QString>& tag);
    int rowOf(const QString& tag) const;

    QPointer<TagManager> m_tagManager;
    QStringList m_tags;
    QList<quint32> m_colors;
    bool m_syncing = false;
    bool m_showAddAlert = false;
    QString m_newTagName;
    std::optional<QString> m_editingTag;
    QString m_editedName;
    bool m_showDeleteConfirm = false;
    std::optional<QString> m_tagToDelete;
};
