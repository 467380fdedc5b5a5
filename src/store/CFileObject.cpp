#include "store/CFileObject.h"

#include "platform/core/AppError.h"
#include "platform/core/DurableFile.h"
#include "platform/db/Dao.h"
#include "store/AppState.h"
#include "store/RecordSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kRuntime = QStringLiteral("Argovo");

[[noreturn]] void fileError(int number, const QString& description)
{
    throw AppError(number, kRuntime, description);
}

// Searches from start, then again from one past each hit; the last hit wins.
int instrLast(int start, const QString& text, const QString& find)
{
    if (start < 1 || start > text.size())
        return 0;
    if (find.isEmpty())
        return int(text.size());
    int last = 0;
    qsizetype hit = text.indexOf(find, start - 1, Qt::CaseSensitive);
    while (hit >= 0) {
        last = int(hit) + 1;
        hit = text.indexOf(find, hit + 1, Qt::CaseSensitive);
    }
    return last;
}

} // namespace

CFileObject::CFileObject()
    : CRecord(QStringLiteral("CFileObject"))
{
}

void CFileObject::InitialiseProperties()
{
    m_fileChanged = false;
    m_itemKey.clear();
    m_description.clear();
    m_path.clear();
}

void CFileObject::setCodeID(const QVariant& itemKey)
{
    m_itemKey = itemKey.toString();
}

void CFileObject::setStoredFile(const QString& path)
{
    GetAttributes();
    // A stored row gets new bytes at its next update.
    if (!m_description.isEmpty() || m_state != stNew)
        m_fileChanged = true;
    m_sourcePath = path;
    oFileObject().setDocPath(path);
    // The row names the file it now holds, not the one it was first added from.
    m_path = path;
    SetDescriptionFromPath(path);
    SetStateForLet();
}

int CFileObject::InstrLast(int start, const QString& text, const QString& find, int) const
{
    return instrLast(start, text, find);
}

QString CFileObject::fileNameFromPath(const QString& path)
{
    // Both separators: a path from this system has no "\".
    const int last =
        std::max(instrLast(1, path, QStringLiteral("\\")), instrLast(1, path, QStringLiteral("/")));
    return last > 0 ? path.mid(last) : path;
}

void CFileObject::SetDescriptionFromPath(const QString& path)
{
    m_description = fileNameFromPath(path);
}

void CFileObject::GetAttributes()
{
    if (needsLoad()) {
        try {
            auto rs = records::database(m_db).OpenRecordset(
                QStringLiteral("select * from codefiles where id = ") + m_key);
            if (!(rs->BOF() && rs->EOF())) {
                m_itemKey = records::textOrFail(rs->Fields(QStringLiteral("codeid")).Value());
                m_description =
                    records::textOrFail(rs->Fields(QStringLiteral("description")).Value());
                auto date = [&](const char* column) {
                    const QVariant v = rs->Fields(QString::fromLatin1(column)).Value();
                    if (v.isNull())
                        throw AppError(94, kRuntime, QStringLiteral("Invalid use of Null"));
                    return v.toDateTime();
                };
                m_addedDate = date("DateAdded");
                m_sourceDate = date("OrigDateTime");
                m_path = records::textOrFail(rs->Fields(QStringLiteral("Path")).Value());
            }
            rs->Close();
            m_loaded = true;
        } catch (...) {
            records::reraise(QStringLiteral("CFileObject:GetAttributes"));
        }
    }
    dao::DBEngine::Idle(dao::dbRefreshCache);
}

// Stores the source file's bytes in field "file". The engine reads them from
// the file at the update, in pieces: the document is never whole in memory
// nor copied anywhere first.
void CFileObject::StoreFileData(dao::Recordset& rs)
{
    // Each failure names the file: of several dropped at once, the message is
    // all that tells the user which one was not stored.
    const QString shown = QDir::toNativeSeparators(m_sourcePath);
    QFile source(m_sourcePath);
    if (!source.exists())
        fileError(53, QStringLiteral("File not found. '%1' was not stored.").arg(shown));
    // A pipe or a device would be read until something writes to it, for
    // ever; a folder holds no bytes of its own.
    if (!QFileInfo(m_sourcePath).isFile())
        fileError(75, QStringLiteral("Path/File access error. '%1' is no ordinary file; only "
                                     "files can be stored.")
                          .arg(shown));
    if (!source.open(QIODevice::ReadOnly))
        fileError(75, QStringLiteral("Path/File access error. '%1' cannot be read (%2), so it "
                                     "was not stored.")
                          .arg(shown, source.errorString()));
    m_sourceDate = QFileInfo(source).lastModified();
    source.close();
    rs.Fields(QStringLiteral("file")).AppendFile(m_sourcePath);
}

void CFileObject::InsertObject()
{
    std::shared_ptr<dao::Recordset> rs;
    try {
        m_addedDate = QDateTime::currentDateTime();
        rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select * from codefiles where id = 0"));
        rs->AddNew();
        rs->Fields(QStringLiteral("codeid")).setValue(m_itemKey);
        rs->Fields(QStringLiteral("description")).setValue(m_description);
        rs->Fields(QStringLiteral("path"))
            .setValue(m_path.isEmpty() ? oFileObject().DocPath() : m_path);
        StoreFileData(*rs);
        rs->Fields(QStringLiteral("origdatetime")).setValue(m_sourceDate);
        rs->Fields(QStringLiteral("dateadded")).setValue(m_addedDate);
        saveNewRow(*rs);
        dao::DBEngine::Idle(dao::dbRefreshCache);
        m_fileChanged = false;
        m_state = stUnchanged;
    } catch (...) {
        records::closeAndReraise(rs, QStringLiteral("CFileObject::InsertObject"));
    }
}

void CFileObject::UpdateObject()
{
    try {
        // An unchanged record is written back with the row's own values,
        // never with the empty ones it starts with.
        GetAttributes();
        auto rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select * from codefiles where id = ") + m_key);
        rs->Edit();
        rs->Fields(QStringLiteral("codeid")).setValue(m_itemKey);
        rs->Fields(QStringLiteral("description")).setValue(m_description);
        rs->Fields(QStringLiteral("path")).setValue(m_path);
        if (m_fileChanged) {
            StoreFileData(*rs);
            rs->Fields(QStringLiteral("origdatetime")).setValue(m_sourceDate);
        }
        rs->Update();
        rs->Close();
        dao::DBEngine::Idle(dao::dbRefreshCache);
        m_fileChanged = false;
        m_state = stUnchanged;
        m_loaded = true;
    } catch (...) {
        records::reraise(QStringLiteral("CFileObject::UpdateObject"));
    }
}

void CFileObject::DeleteObject()
{
    records::database(m_db).Execute(QStringLiteral("delete from codefiles where id = ") + m_key);
    dao::DBEngine::Idle(dao::dbRefreshCache);
    m_state = stDeleted;
}

void CFileObject::SaveToFile(const QString& target)
{
    QString temp;
    try {
        // Written over the case's own file, the document would replace the
        // case while it is still open, under whatever name the file has.
        if (records::database(m_db).isFile(target))
            fileError(75, QStringLiteral("Path/File access error. '%1' is the open case file; a "
                                         "document is never written over it. Choose another "
                                         "file name.")
                              .arg(QDir::toNativeSeparators(target)));
        // Only the bytes are needed: a row whose other columns another
        // program left empty still exports.
        auto rs = records::database(m_db).OpenRecordset(
            QStringLiteral("select file from codefiles where id = ") + m_key);
        if (!rs->BOF() && !rs->EOF()) {
            // The bytes go beside the target and replace it only once all are
            // on the disk: a failure part-way leaves the target as it was.
            // A link is written through, to the file it names.
            const QString file = durable::replacedFile(target, kRuntime);
            temp = durable::freeNameBeside(file, QStringLiteral("export"));
            QFile out(temp);
            if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                fileError(75, QStringLiteral("Path/File access error"));
            auto field = rs->Fields(QStringLiteral("file"));
            const qint64 size = field.FieldSize();
            auto writePiece = [&](qint64 offset, qint64 bytes) {
                if (bytes <= 0)
                    return;
                const QByteArray piece = field.GetChunk(offset, bytes);
                if (piece.size() != bytes)
                    fileError(62, QStringLiteral("Input past end of file"));
                if (out.write(piece) != piece.size())
                    fileError(61, QStringLiteral("Disk full"));
            };
            for (qint64 k = 1; k <= size / kChunkSize; ++k)
                writePiece((k - 1) * kChunkSize, kChunkSize);
            writePiece((size / kChunkSize) * kChunkSize, size % kChunkSize);
            if (!out.flush())
                fileError(61, QStringLiteral("Disk full"));
            out.close();
            if (out.error() != QFileDevice::NoError)
                fileError(75, QStringLiteral("Path/File access error"));
            durable::keepAccessOf(file, temp, kRuntime);
            durable::moveInto(temp, file, durable::Existing::Replace, kRuntime);
            temp.clear();
        }
        rs->Close();
        dao::DBEngine::Idle(dao::dbRefreshCache);
    } catch (...) {
        if (!temp.isEmpty())
            QFile::remove(temp);
        records::reraiseExtended(QStringLiteral("::CFileObject_SaveToFile"));
    }
}
