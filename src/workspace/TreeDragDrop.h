#pragma once

#include <QString>
#include <QStringList>

// The rules of moving case items by drag and drop within the tree, free of
// any widget: which node is dragged, which one is highlighted as the drop
// target, when a hovered node opens, when the tree scrolls and what a drop
// may do. The window feeds it keys and positions and carries out what it says.
class TreeDragDrop final {
public:
    // The drag timer's interval, in milliseconds.
    static constexpr int kTickInterval = 100;
    // A hovered node opens on the tick after this many.
    static constexpr int kTicksBeforeExpand = 10;
    // The scroll bands, in twips from the tree's top and bottom edges.
    static constexpr int kTopBand = 300;
    static constexpr int kBottomBand = 500;

    // A mouse button went down over the node with this key (empty: none).
    void mouseDown(const QString& key);
    // The candidate is let go, as any button state but the left one alone does.
    void clearCandidate();
    // A left-button move: true when a drag starts. The root is never dragged.
    // Each drag starts with no highlight, no scrolling and a fresh tick count.
    bool beginDrag();
    const QString& dragKey() const { return m_dragKey; }
    // A drag begun here is under way. A candidate alone is only a click.
    bool dragging() const { return m_dragging; }

    // The cursor is over the node with this key (empty: none) at y twips in a
    // tree height twips high. False when the node cannot take the drop here
    // (it is the dragged node itself, or no drag of this tree is under way);
    // the highlight follows the cursor.
    bool dragOver(const QString& key, int y, int height);
    const QString& dropHighlight() const { return m_highlight; }
    void clearHighlight() { m_highlight.clear(); }
    // -1 up, 1 down, 0 none.
    int scrollDirection() const { return m_scroll; }
    int ticks() const { return m_ticks; }

    struct Tick {
        bool stopTimer = false; // there is no drag: the timer goes off
        QString expand;         // the key of the node to open, if any
        int scroll = 0;         // one line up (-1) or down (1)
    };
    Tick tick();

    enum class Outcome {
        Nothing,            // no drag or no target: the drag just ends
        Ignored,            // the target is an exhibit, witness or question
        RefusedAtRoot,      // only issues go to the top level
        RefusedUnderItself, // the target is the dragged node or lies below it
        Move,
    };
    struct Drop {
        Outcome outcome = Outcome::Nothing;
        QString newParentId; // for a move: "0" for the top level, else the id
    };
    // What dropping the dragged node on the highlighted one does; ancestors
    // are the keys above the highlighted node, from its parent up to the root.
    // Without a drag begun here nothing is dropped, whatever was clicked last.
    Drop drop(const QStringList& ancestors) const;
    // The drag is over: no candidate, no highlight, no scrolling.
    void endDrag();

    static const QString kRefusedAtRootText;
    static const QString kRefusedAtRootTitle;
    static const QString kRefusedUnderItselfText;

private:
    QString m_dragKey;
    bool m_dragging = false;
    QString m_highlight;
    int m_scroll = 0;
    int m_ticks = 0;
};
