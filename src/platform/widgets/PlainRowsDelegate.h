#pragma once

#include <QFont>
#include <QStyledItemDelegate>

#include <optional>

namespace platform {

// Draws a list's rows of plain text without the font's optional shaping
// (kerning, ligatures). Each row's text is otherwise shaped up to three
// times at every paint, which makes a large case's lists slow to show and
// to scroll. A text with any letter beyond the Latin ones keeps its shaping:
// the engine would otherwise draw Arabic letters unjoined, and accents that
// are typed as marks of their own apart from their letters.
class PlainRowsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // The last font asked for and its unshaped copy: rows share one or two
    // fonts, and a copy made per row would be looked up again per row.
    mutable QFont m_shaped;
    mutable std::optional<QFont> m_unshaped;
};

} // namespace platform
