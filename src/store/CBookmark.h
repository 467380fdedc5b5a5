#pragma once

#include "store/IDataObject.h"

#include <QString>

// One row of table Bookmarks: a bookmark on a case item with the user's
// description. Write-only: the bookmark pane lists bookmarks with its own
// query. Every failure reaches the caller as the class failure.
class CBookmark final : public IDataObject {
public:
    CBookmark() = default;
    ~CBookmark() override;

    // Takes the item's record and keeps the text of its Key.
    void setCodeItem(IDataObject* item);
    // The bookmark text, line breaks included.
    void setDescription(const QString& value);

    // IDataObject
    QString Key() const override;
    void Initialise(std::shared_ptr<dao::Database> db, const QString& key) override;
    void Delete() override;
    void Commit() override;

    int state() const { return m_state; }

private:
    void InitialiseProperties();
    void GetAttributes();
    void SetStateForLet();
    void UpdateObject();
    void DeleteObject();
    void InsertObject();

    std::shared_ptr<dao::Database> m_db;
    QString m_key;
    int m_state = stUnchanged;
    bool m_loaded = false;
    QString m_itemKey;
    QString m_description;
};
