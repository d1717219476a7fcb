#include "master/ui/tfyg1.h"

#include "master/ui/tfdr1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "master/employee_book.h"
#include "master/ui/tfcxyg1.h"
#include "master/ui/tftjyg1.h"

namespace {

PartnerListWindow::Setup setup()
{
    using C = RecordTableModel::Column;
    return {QStringLiteral("员工资料"),
            EmployeeBook::Noun,
            {C{"xm", "姓名"}, C{"xb", "性别"}, C{"zw", "职务"}, C{"bm", "部门"}, C{"dh", "联系电话"},
             C{"dz", "住址"}, C{"jbgz", "基本工资", RecordTableModel::Amount}, C{"sfz", "身份证编号"},
             C{"bz", "备注"}, C{"id", "id", RecordTableModel::Integer, false}},
            QStringLiteral("TFdyyg1"),
            QStringLiteral("员工资料表"),
            {"xm", "xb", "dh", "dz"},
            false};
}

} // namespace

TFyg1::TFyg1(QWidget *parent) : PartnerListWindow(setup(), parent) {}

QSqlQuery TFyg1::allRows() { return EmployeeBook(book()).all(); }

qint64 TFyg1::openDialog(qint64 id)
{
    TFtjyg1 dlg(this);
    if (id) {
        std::optional<EmployeeRecord> r;
        try {
            r = EmployeeBook(book()).find(id);
        } catch (const DbError &err) {
            prompt().warn(err.text());
            return id;
        }
        if (!r) return id;
        dlg.startEditing(*r);
    }
    dlg.exec();
    return dlg.savedId() ? dlg.savedId() : id;
}

PartnerListWindow::Rows TFyg1::openQuery()
{
    TFcxyg1 dlg(this);
    if (dlg.exec() != QDialog::Accepted) return {};
    const EmployeeFilter f = dlg.filter();
    return [f] { return EmployeeBook(book()).query(f); };
}

void TFyg1::removeRecord(qint64 id) { EmployeeBook(book()).remove(id); }

bool TFyg1::openImport()
{
    TFdr1 d(ImportTarget::Employees, this);
    d.exec();
    return true;
}
