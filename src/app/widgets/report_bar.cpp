#include "app/widgets/report_bar.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace ReportBar {

QHash<QString, QPushButton *> addButtons(QWidget *owner, QBoxLayout *row,
                                         const QList<std::pair<QString, QString>> &namesAndCaptions)
{
    QHash<QString, QPushButton *> out;
    for (const auto &[name, caption] : namesAndCaptions) {
        auto *b = new QPushButton(caption, owner);
        b->setObjectName(name);
        b->setAutoDefault(false);
        row->addWidget(b);
        out.insert(name, b);
    }
    return out;
}

void addRedLegend(QWidget *owner, QBoxLayout *row, const QString &legend)
{
    row->addStretch();
    auto *square = new QFrame(owner);
    square->setFixedSize(12, 12);
    square->setStyleSheet(QStringLiteral("background: red"));
    row->addWidget(square);
    row->addWidget(new QLabel(legend, owner));
}

QHBoxLayout *totalsRow(QWidget *owner, int count, const QString &initial, QList<QLabel *> *panels, const QString &note)
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("总计"), owner));
    if (!note.isEmpty()) row->addWidget(new QLabel(note, owner));
    for (int i = 0; i < count; ++i) {
        auto *l = new QLabel(initial, owner);
        l->setObjectName(QStringLiteral("Total%1").arg(i + 1));
        l->setMinimumWidth(110);
        l->setFrameShape(QFrame::StyledPanel);
        panels->append(l);
        row->addWidget(l);
    }
    row->addStretch();
    return row;
}

} // namespace ReportBar
