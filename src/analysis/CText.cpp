#include "analysis/CText.h"

QString CText::RecordsReturned() const
{
    return m_recordsReturned;
}

void CText::setRecordsReturned(const QString& value)
{
    m_recordsReturned = value;
}
