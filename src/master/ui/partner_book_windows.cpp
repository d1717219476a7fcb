#include "master/ui/partner_book_windows.h"

#include "master/ui/tfdr1.h"

#include "app/data/dm1.h"
#include "app/prompter.h"
#include "master/ui/tfcxghs1.h"

namespace {

using Column = RecordTableModel::Column;

QList<Column> listColumns()
{
    return {{"mc", "名称"},       {"lxr", "联系人"},    {"lxdh", "联系电话"}, {"lxcz", "传真号码"},
            {"lxdz", "联系地址"}, {"yb", "邮政编码"},   {"yhmc", "开户银行"}, {"yhzh", "银行帐号"},
            {"bz", "备注"},       {"id", "id", RecordTableModel::Integer, false}};
}

QList<Column> pickerColumns()
{
    return {{"mc", "名称"},   {"lxr", "联系人"},  {"lxdh", "电话"},     {"lxcz", "传真"},
            {"lxdz", "地址"}, {"yb", "邮政编码"}, {"yhmc", "开户银行"}, {"yhzh", "银行帐号"},
            {"bz", "备注"},   {"id", "id", RecordTableModel::Integer, false}};
}

PartnerListWindow::Setup listSetup(const PartnerConfig &c)
{
    return {c.listCaption, c.noun, listColumns(), QStringLiteral("TFdyghs1"), c.printName,
            {"mc", "lxr", "lxdh", "lxdz"}, c.addNeedsOpenList};
}

} // namespace

PartnerBookListWindow::PartnerBookListWindow(const PartnerConfig &config, PartnerDialogFactory dialog, QWidget *parent)
    : PartnerListWindow(listSetup(config), parent), config_(config), dialog_(std::move(dialog))
{
}

QSqlQuery PartnerBookListWindow::allRows() { return PartnerBook(book(), config_).all(); }

qint64 PartnerBookListWindow::openDialog(qint64 id)
{
    std::unique_ptr<PartnerDialog> dlg = dialog_(this);
    if (id) {
        std::optional<PartnerRecord> r;
        try {
            r = PartnerBook(book(), config_).find(id);
        } catch (const DbError &err) {
            prompt().warn(err.text());
            return id;
        }
        if (!r) return id;   // deleted meanwhile: the reload shows it gone
        dlg->startEditing(*r);
    } else {
        dlg->startAdding();
    }
    dlg->exec();
    return dlg->savedId() ? dlg->savedId() : id;
}

PartnerListWindow::Rows PartnerBookListWindow::openQuery()
{
    TFcxghs1 dlg(this);
    dlg.setMode(config_.table);
    if (dlg.exec() != QDialog::Accepted) return {};
    const PartnerFilter f = dlg.filter();
    const PartnerConfig *c = &config_;
    return [c, f] { return PartnerBook(book(), *c).query(f); };
}

void PartnerBookListWindow::removeRecord(qint64 id) { PartnerBook(book(), config_).remove(id); }

bool PartnerBookListWindow::openImport()
{
    TFdr1 d(config_.table == QLatin1String("kh") ? ImportTarget::Customers : ImportTarget::Suppliers, this);
    d.exec();
    return true;
}

PartnerBookPicker::PartnerBookPicker(const PartnerConfig &config, PartnerDialogFactory dialog, QWidget *parent)
    : PartnerPicker({config.pickerCaption, config.noun, pickerColumns(), QStringLiteral("mc"), config.callerMarks}, parent),
      config_(config), dialog_(std::move(dialog))
{
}

QSqlQuery PartnerBookPicker::rowsOnShow() { return PartnerBook(book(), config_).all(); }

QSqlQuery PartnerBookPicker::rowsFor(const QString &typed) { return PartnerBook(book(), config_).search(typed); }

void PartnerBookPicker::openAddDialog()
{
    std::unique_ptr<PartnerDialog> dlg = dialog_(this);
    dlg->startAdding();
    dlg->exec();
}
