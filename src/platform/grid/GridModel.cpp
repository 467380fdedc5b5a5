#include "GridModel.h"

#include "GridCore.h"

#include "platform/core/ScreenText.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace grid {

namespace {

QColor packedColor(int rgb)
{
    return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

// A cell shows no more, even a merged block many lines tall. A painted cell
// lays out all the text it is given, and a case written by another tool may
// hold an explanation of megabytes: about 0.2 s a cell, at every repaint.
constexpr qsizetype kMaxShownInCell = 4096;

} // namespace

GridModel::GridModel(GridCore* core, QObject* parent)
    : QAbstractTableModel(parent)
    , m_core(core)
{
    if (!m_core)
        return;
    connect(m_core, &GridCore::aboutToReset, this, &GridModel::onAboutToReset);
    connect(m_core, &GridCore::reset, this, &GridModel::onReset);
    connect(m_core, &GridCore::cellsChanged, this, &GridModel::onCellsChanged);
    connect(m_core, &GridCore::destroyed, this, [this] {
        if (!m_resetting)
            beginResetModel();
        m_resetting = false;
        endResetModel();
    });
}

GridModel::~GridModel() = default;

bool GridModel::holds(const QModelIndex& index) const
{
    // Checked against the core itself: a view may still ask for rows the core
    // dropped while its redraw was off.
    return m_core && index.isValid() && index.model() == this && index.row() + 1 < m_core->rows()
        && index.column() < m_core->cols();
}

void GridModel::onAboutToReset()
{
    if (m_resetting)
        return;
    m_resetting = true;
    beginResetModel();
}

void GridModel::onReset()
{
    if (!m_resetting)
        return;
    m_resetting = false;
    endResetModel();
}

void GridModel::onCellsChanged(int top, int left, int bottom, int right)
{
    if (m_resetting || !m_core)
        return;
    if (top == 0) {
        emit headerDataChanged(Qt::Horizontal, left, right);
        top = 1;
    }
    if (bottom < top)
        return;
    emit dataChanged(index(top - 1, left), index(bottom - 1, right));
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_core)
        return 0;
    return m_core->rows() - 1;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_core)
        return 0;
    return m_core->cols();
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!holds(index))
        return QVariant();
    const int row = gridRow(index);
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        // The grid keeps the whole text: studies, edits and reports read it.
        return screentext::shown(m_core->displayText(row, col), kMaxShownInCell);
    case Qt::EditRole:
        return m_core->textAt(row, col);
    case Qt::ForegroundRole: {
        const int color = m_core->foreColorAt(row, col);
        return color < 0 ? QVariant() : QVariant(packedColor(color));
    }
    case Qt::BackgroundRole: {
        const int color = m_core->backColorAt(row, col);
        if (color >= 0)
            return packedColor(color);
        if (col == 0)
            return QGuiApplication::palette().button();
        return QVariant();
    }
    case Qt::FontRole: {
        if (!m_core->boldAt(row, col))
            return QVariant();
        // Only the weight is set, so the view's own font fills in the rest.
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::TextAlignmentRole:
        if (m_core->isNumeric(row, col))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    default:
        return QVariant();
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !holds(index))
        return false;
    m_core->setTextAt(gridRow(index), index.column(), value.toString());
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_core)
        return QVariant();
    // The tooltip shows the whole title a narrow column cuts.
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
        if (section < 0 || section >= m_core->cols())
            return QVariant();
        return m_core->textAt(0, section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!holds(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // The fixed column carries no data; whether an edit of any other cell
    // goes ahead is the owner's call at edit time.
    if (index.column() > 0)
        result |= Qt::ItemIsEditable;
    return result;
}

} // namespace grid
