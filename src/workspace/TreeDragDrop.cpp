#include "workspace/TreeDragDrop.h"

#include "workspace/TreeEditing.h"
#include "workspace/TreeLogic.h"

const QString TreeDragDrop::kRefusedAtRootText =
    QStringLiteral("Cannot link exhibit to witness or question or witness to exhibit or "
                   "question.  Only link to issues.");
const QString TreeDragDrop::kRefusedAtRootTitle = QStringLiteral("Not Supported");
const QString TreeDragDrop::kRefusedUnderItselfText =
    QStringLiteral("An item cannot be moved under itself or under one of its own sub-items.");

namespace {

// Only the root and issues hold children.
bool holdsNoChildren(const QString& key)
{
    return !treeediting::refusalForKey(key).isEmpty();
}

} // namespace

void TreeDragDrop::mouseDown(const QString& key)
{
    m_dragKey = key;
    m_dragging = false;
}

void TreeDragDrop::clearCandidate()
{
    m_dragKey.clear();
    m_dragging = false;
}

bool TreeDragDrop::beginDrag()
{
    if (m_dragKey.isEmpty() || m_dragKey == treelogic::kRootKey)
        return false;
    m_highlight.clear();
    m_scroll = 0;
    m_ticks = 0;
    m_dragging = true;
    return true;
}

bool TreeDragDrop::dragOver(const QString& key, int y, int height)
{
    bool allowed = true;
    if (!m_dragging) {
        m_highlight.clear();
        allowed = false;
    } else if (key.isEmpty()) {
        m_highlight.clear();
    } else if (key == m_dragKey) {
        m_highlight.clear();
        allowed = false;
    } else {
        m_highlight = key;
    }
    if (y > 0 && y < kTopBand)
        m_scroll = -1;
    else if (y > height - kBottomBand && y < height)
        m_scroll = 1;
    else
        m_scroll = 0;
    return allowed;
}

TreeDragDrop::Tick TreeDragDrop::tick()
{
    Tick result;
    if (m_dragKey.isEmpty()) {
        result.stopTimer = true;
        return result;
    }
    ++m_ticks;
    if (m_ticks > kTicksBeforeExpand) {
        // With nothing highlighted the count stays up and there is no scrolling.
        if (m_highlight.isEmpty())
            return result;
        result.expand = m_highlight;
        m_ticks = 0;
    }
    result.scroll = m_scroll;
    return result;
}

TreeDragDrop::Drop TreeDragDrop::drop(const QStringList& ancestors) const
{
    Drop result;
    if (!m_dragging || m_dragKey.isEmpty() || m_highlight.isEmpty())
        return result;
    if (holdsNoChildren(m_highlight)) {
        result.outcome = Outcome::Ignored;
        return result;
    }
    if (m_highlight == m_dragKey || ancestors.contains(m_dragKey)) {
        result.outcome = Outcome::RefusedUnderItself;
        return result;
    }
    if (holdsNoChildren(m_dragKey) && m_highlight == treelogic::kRootKey) {
        result.outcome = Outcome::RefusedAtRoot;
        return result;
    }
    result.outcome = Outcome::Move;
    result.newParentId = treeediting::parentIdUnder(m_highlight);
    return result;
}

void TreeDragDrop::endDrag()
{
    m_dragKey.clear();
    m_dragging = false;
    m_highlight.clear();
    m_scroll = 0;
}
