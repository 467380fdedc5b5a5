#include "workspace/TreeEditing.h"

#include "workspace/TreeLogic.h"

#include "platform/core/ScreenText.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/CIssue.h"
#include "store/CTypes.h"

#include <QSet>

#include <algorithm>

namespace treeediting {
namespace {

const QString kNewItemName = QStringLiteral("New Case Item");
constexpr int16_t kNewItemRating = 1;

// The record behind a node key, in the form the record takes it: the key
// less its first letter (an exhibit, witness or question keeps its type
// letter, which the record drops).
QString recordKey(const QString& nodeKey)
{
    return nodeKey.mid(1);
}

const QString kDeletedElsewhereText = QStringLiteral(
    "The item to link to was deleted elsewhere: the case is open in another copy of the "
    "program too. Nothing was changed. Refresh the tree to see the case as it is now.");
const QString kLoopElsewhereText = QStringLiteral(
    "The case was changed elsewhere: it is open in another copy of the program too, and there "
    "the issue dropped onto now lies under the item dragged. Nothing was moved. Refresh the "
    "tree to see the case as it is now.");

} // namespace

std::optional<qint64> storedParent(dao::Database& db, qint64 id)
{
    auto rs = db.OpenRecordset(QStringLiteral("SELECT ParentID FROM Issue WHERE ID=") +
                                   QString::number(id),
                               dao::dbOpenSnapshot);
    if (rs->EOF())
        return std::nullopt;
    return rs->Fields(QStringLiteral("ParentID")).Value().toLongLong();
}

std::optional<ItemKind> kindOf(const QString& typeWord)
{
    static const ItemKind kinds[] = {
        {QStringLiteral("Issue"), QStringLiteral("C"), treelogic::kImageIssue},
        {QStringLiteral("Exhibit"), QStringLiteral("CX"), treelogic::kImageExhibit},
        {QStringLiteral("Witness"), QStringLiteral("CW"), treelogic::kImageWitness},
        {QStringLiteral("Question"), QStringLiteral("QS"), treelogic::kImageQuestion},
    };
    for (const ItemKind& kind : kinds)
        if (kind.word == typeWord)
            return kind;
    return std::nullopt;
}

QString refusalForType(const QString& typeWord)
{
    if (typeWord == QLatin1String("Exhibit"))
        return QStringLiteral("Cannot link to exhibits--only to issues.");
    if (typeWord == QLatin1String("Witness"))
        return QStringLiteral("Cannot link to witnesses--only to issues.");
    if (typeWord == QLatin1String("Question"))
        return QStringLiteral("Cannot link to questions--only to issues.");
    return QString();
}

QString refusalForKey(const QString& nodeKey)
{
    const QString image = treelogic::imageForKey(nodeKey);
    if (image == treelogic::kImageExhibit)
        return refusalForType(QStringLiteral("Exhibit"));
    if (image == treelogic::kImageWitness)
        return refusalForType(QStringLiteral("Witness"));
    if (image == treelogic::kImageQuestion)
        return refusalForType(QStringLiteral("Question"));
    return QString();
}

QString parentIdUnder(const QString& nodeKey)
{
    return nodeKey == treelogic::kRootKey ? QStringLiteral("0") : recordKey(nodeKey);
}

QString deleteQuestion(bool hasChildren)
{
    return QStringLiteral("Delete selected Item ") +
           (hasChildren ? QStringLiteral("and all child records?") : QStringLiteral("?"));
}

int labelLimit(const QString& existing)
{
    return std::max(kLabelLimit, int(existing.size()));
}

QString acceptedLabel(const QString& typed, const QString& existing)
{
    return typed.left(labelLimit(existing));
}

QString bookmarkRefusalInFile(dao::Database& db, qint64 id, const QString& name)
{
    if (storedParent(db, id))
        return QString();
    return QStringLiteral("\"%1\" is no longer in the case: it was deleted in another copy of the "
                          "program, where the case is open too. It cannot be bookmarked; refresh "
                          "the tree to see the case as it is now.")
        .arg(screentext::shown(name));
}

QString refusalInFile(const std::shared_ptr<dao::Database>& db, const QString& parentId,
                      const QString& movedId)
{
    const qint64 target = parentId.toLongLong();
    const qint64 moved = movedId.isEmpty() ? -1 : movedId.toLongLong();
    // The parents of a file written elsewhere may already form a loop: each
    // is visited once.
    QSet<qint64> seen;
    for (qint64 at = target; at != 0 && !seen.contains(at);) {
        if (at == moved)
            return kLoopElsewhereText;
        seen.insert(at);
        const std::optional<qint64> up = storedParent(*db, at);
        if (!up)
            return at == target ? kDeletedElsewhereText : QString();
        at = *up;
    }
    return QString();
}

std::shared_ptr<CIssue> createItem(const std::shared_ptr<dao::Database>& db,
                                   const QString& parentId)
{
    auto item = std::make_shared<CIssue>();
    item->Initialise(db, QString());
    item->setName(kNewItemName);
    item->setExplanation(QString());
    item->setQuestion(QString());
    item->setWeight(kNewItemRating);
    item->setSUCCESS(kNewItemRating);
    item->setJury(kNewItemRating);
    item->setSubstantive(kNewItemRating);
    item->setProcedural(kNewItemRating);
    item->setSignificance(kNewItemRating);
    item->setParentKey(parentId);
    item->setItemType(oTypes().ItemType());
    item->Commit();
    return item;
}

void renameItem(const std::shared_ptr<dao::Database>& db, const QString& nodeKey,
                const QString& name)
{
    CIssue item;
    item.Initialise(db, recordKey(nodeKey));
    item.setName(name);
    item.Commit();
}

void deleteItems(const std::shared_ptr<dao::Database>& db, const QStringList& nodeKeys)
{
    dao::DBEngine::BeginTrans();
    try {
        QStringList keys;
        keys.reserve(nodeKeys.size());
        for (const QString& key : nodeKeys)
            keys.append(recordKey(key));
        CIssue::DeleteItems(db, keys);
        dao::DBEngine::CommitTrans();
    } catch (...) {
        try {
            dao::DBEngine::Rollback();
        } catch (...) {
            // The delete's own failure is the one the user needs to see.
        }
        throw;
    }
}

} // namespace treeediting
