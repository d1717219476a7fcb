// The category tree of the goods windows: the root "全部类别" and one node per category, read
// once when the window is made.
#pragma once

#include <QTreeWidget>

class GoodsCategoryTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit GoodsCategoryTree(QWidget *parent = nullptr);

    // The category of a node; empty for the root (every category).
    static QString categoryOf(const QTreeWidgetItem *item);
    QTreeWidgetItem *root() const { return topLevelItem(0); }
    QTreeWidgetItem *node(const QString &category) const;

signals:
    // A click on a node: its category, empty for the root.
    void categoryClicked(const QString &category);
};
