#include "master/ui/goods_category_tree.h"

#include "app/data/dm1.h"
#include "master/lookup_list.h"

#include <QApplication>
#include <QStyle>

GoodsCategoryTree::GoodsCategoryTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderHidden(true);
    setColumnCount(1);
    QStyle *style = QApplication::style();
    auto *top = new QTreeWidgetItem(this, {QStringLiteral("全部类别")});
    top->setIcon(0, style->standardIcon(QStyle::SP_DirHomeIcon));
    QIcon child;
    child.addPixmap(style->standardPixmap(QStyle::SP_DirClosedIcon), QIcon::Normal);
    child.addPixmap(style->standardPixmap(QStyle::SP_DirOpenIcon), QIcon::Selected);
    for (const QString &lb : LookupList(book(), LookupKind::Category).values()) {
        auto *item = new QTreeWidgetItem(top, {lb});
        item->setIcon(0, child);
        item->setData(0, Qt::UserRole, lb);
    }
    expandAll();
    setCurrentItem(top);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { emit categoryClicked(categoryOf(item)); });
}

QString GoodsCategoryTree::categoryOf(const QTreeWidgetItem *item)
{
    return item && item->parent() ? item->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem *GoodsCategoryTree::node(const QString &category) const
{
    QTreeWidgetItem *top = root();
    for (int i = 0; i < top->childCount(); ++i)
        if (top->child(i)->text(0) == category) return top->child(i);
    return nullptr;
}
