#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class CIssue;

namespace dao {
class Database;
}

// What inserting, renaming and deleting case items decide and write, free of
// the tree widget: the window asks these and then shows the result.
namespace treeediting {

// The longest name the tree's label editor takes.
constexpr int kLabelLimit = 50;

// Per type word: the key prefix and the image of its nodes.
struct ItemKind {
    QString word;
    QString prefix;
    QString image;
};
// The kind of an exact type word ("Issue", "Exhibit", "Witness", "Question").
std::optional<ItemKind> kindOf(const QString& typeWord);

// The message that refuses a child under an item of this type word, empty
// when an item of that type may hold children ("Issue") or is of no known type.
QString refusalForType(const QString& typeWord);
// The same decided from a node key: the root and issues may hold children.
QString refusalForKey(const QString& nodeKey);

// The ParentID a new child of the node receives: "0" under the root, else
// the id.
QString parentIdUnder(const QString& nodeKey);

// "Delete selected Item " and the ending for a node with or without children.
QString deleteQuestion(bool hasChildren);

// The longest name the label editor takes for a node named `existing`: the
// label limit, or the existing name's length when an older file holds a
// longer one, which a rename must not cut.
int labelLimit(const QString& existing);

// The name a label edit of a node named `existing` stores: cut to its limit.
QString acceptedLabel(const QString& typed, const QString& existing);

// The ParentID the case file holds for the item with this id; nothing when
// the file holds no such item (deleted in another copy of the program).
std::optional<qint64> storedParent(dao::Database& db, qint64 id);

// The message that refuses a bookmark on the item with this id, named name
// (cut for the screen), when the case file no longer holds it (deleted in
// another copy of the program): no pane would list the bookmark. Empty while
// it does.
QString bookmarkRefusalInFile(dao::Database& db, qint64 id, const QString& name);

// The message that refuses putting an item under the issue with this id
// ("0": the top level), empty when it may go there. The tree on screen can
// be older than the case file, when the case is open in a second copy of
// the program too: the file is asked whether it still holds the issue and,
// for a move of the item with id movedId, whether that item now lies above
// the issue there, which the move would turn into a loop of parents.
QString refusalInFile(const std::shared_ptr<dao::Database>& db, const QString& parentId,
                      const QString& movedId = QString());

// Inserts a new item of the item-type holder's type under the parent id
// with the new-item defaults and returns its committed record, which knows
// its id.
std::shared_ptr<CIssue> createItem(const std::shared_ptr<dao::Database>& db,
                                   const QString& parentId);

// Stores the new name of the item behind the node key.
void renameItem(const std::shared_ptr<dao::Database>& db, const QString& nodeKey,
                const QString& name);

// Deletes the items behind the node keys, each with its bookmarks and stored
// documents, in one storage transaction: either every row goes or, when one
// delete fails, none does and the failure passes to the caller.
void deleteItems(const std::shared_ptr<dao::Database>& db, const QStringList& nodeKeys);

} // namespace treeediting
