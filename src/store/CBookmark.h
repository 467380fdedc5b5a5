#pragma once

#include "store/CRecord.h"

#include <QString>

// One row of table Bookmarks: a bookmark on a case item with the user's
// description. Write-only: the bookmark pane lists bookmarks with its own
// query. Every failure reaches the caller as the class failure.
class CBookmark final : public CRecord {
public:
    CBookmark();

    // Takes the item's record and keeps the text of its Key.
    void setCodeItem(IDataObject* item);
    // The bookmark text, line breaks included.
    void setDescription(const QString& value);

private:
    void InitialiseProperties() override;
    void GetAttributes();
    void SetStateForLet() override;
    void UpdateObject() override;
    void DeleteObject() override;
    void InsertObject() override;
    void CommitOtherState() override;
    [[noreturn]] void CommitFailed() override;

    QString m_itemKey;
    QString m_description;
};
