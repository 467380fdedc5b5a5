#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace grid {

class GridCore;

// Item-model face of a GridCore, which it does not own. Grid row 0 is the
// horizontal header; model row r is grid row r + 1; columns are the grid's
// logical columns, column 0 the fixed one.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridModel)

public:
    explicit GridModel(GridCore* core, QObject* parent = nullptr);
    ~GridModel() override;

    GridCore* core() const { return m_core; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static int gridRow(const QModelIndex& index) { return index.row() + 1; }

private:
    bool holds(const QModelIndex& index) const;
    void onAboutToReset();
    void onReset();
    void onCellsChanged(int top, int left, int bottom, int right);

    QPointer<GridCore> m_core;
    bool m_resetting = false;
};

} // namespace grid
