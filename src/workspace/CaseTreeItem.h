#pragma once

#include <QTreeWidgetItem>
#include <QVariant>

// A node of the case tree. Its key, tag and image name are held as plain
// members rather than in the item's general list of role values: a large
// case has a hundred thousand nodes, and the list costs them time and memory.
// Read and written through data() and setData() like any other role. The
// icon is the tree's image of that name unless one was set.
class CaseTreeItem final : public QTreeWidgetItem {
public:
    CaseTreeItem(const QString& text, QString key, QString tag, QString image);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    QTreeWidgetItem* clone() const override;

private:
    QVariant* held(int column, int role);

    QVariant m_key;
    QVariant m_tag;
    QVariant m_image;
};
