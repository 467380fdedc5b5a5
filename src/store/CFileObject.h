#pragma once

#include "store/CRecord.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace dao {
class Recordset;
}

// One row of table codefiles: a document attached to a case item, its bytes
// stored in the case file. Bytes move between file and database in chunks of
// kChunkSize, never whole.
class CFileObject final : public CRecord {
public:
    static constexpr qint64 kChunkSize = 16384;

    CFileObject();

    QString DocPath() const { return m_docPath; }
    void setDocPath(const QString& path) { m_docPath = path; }
    // The owning item's key text (the current item record's Key).
    void setCodeID(const QVariant& itemKey);
    // Names the file whose bytes the next insert or update stores.
    void setStoredFile(const QString& path);

    // Position (from 1) of the last occurrence of find in text at or after
    // start; 0 when there is none. Always case-sensitive: compare is ignored.
    int InstrLast(int start, const QString& text, const QString& find, int compare = 0) const;

    // Writes the stored bytes to target, replacing whatever it held. Nothing
    // is written when the row is gone; a target that is the case file itself,
    // by any of its names, is refused (75).
    void SaveToFile(const QString& target);

    // The file name of a path: the part after its last "\" or "/"; a bare
    // name is taken whole.
    static QString fileNameFromPath(const QString& path);

private:
    void InitialiseProperties() override;
    void GetAttributes();
    void UpdateObject() override;
    void DeleteObject() override;
    void InsertObject() override;
    void SetDescriptionFromPath(const QString& path);
    void StoreFileData(dao::Recordset& rs);

    QString m_itemKey;
    QString m_description;
    QString m_path;
    QDateTime m_sourceDate;
    QDateTime m_addedDate;
    QString m_sourcePath;
    bool m_fileChanged = false;
    QString m_docPath;
};
