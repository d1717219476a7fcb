#include "master/ui/tfyg2.h"

#include "app/data/dm1.h"
#include "master/employee_book.h"
#include "master/ui/tftjyg1.h"

namespace {

PartnerPicker::Setup setup()
{
    using C = RecordTableModel::Column;
    return {QStringLiteral("选择员工资料"),
            EmployeeBook::Noun,
            {C{"xm", "姓名"}, C{"xb", "性别"}, C{"zw", "职务"}, C{"bm", "部门"}, C{"dh", "电话"}, C{"dz", "住址"},
             C{"bz", "备注"}, C{"id", "id", RecordTableModel::Integer, false}},
            QStringLiteral("xm"),
            EmployeeBook::CallerMarks};
}

} // namespace

TFyg2::TFyg2(QWidget *parent) : PartnerPicker(setup(), parent) {}

QSqlQuery TFyg2::rowsOnShow() { return EmployeeBook(book()).search(QString()); }

QSqlQuery TFyg2::rowsFor(const QString &typed) { return EmployeeBook(book()).search(typed); }

void TFyg2::openAddDialog()
{
    TFtjyg1 dlg(this);
    dlg.exec();
}
