#include "PlainRowsDelegate.h"

#include <algorithm>

namespace platform {

namespace {

// Latin letters, with their accents as single characters, and the signs
// between them: nothing below the combining marks needs shaping to read.
bool needsNoShaping(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x0300; });
}

} // namespace

void PlainRowsDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!needsNoShaping(option->text))
        return;
    if (!m_unshaped || !(option->font == m_shaped)) {
        m_shaped = option->font;
        m_unshaped = option->font;
        m_unshaped->setStyleStrategy(QFont::PreferNoShaping);
    }
    option->font = *m_unshaped;
}

} // namespace platform
