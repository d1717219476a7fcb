// The supplier and customer windows are one mechanism: these classes do the work from the
// book's PartnerConfig, and TFghs1/TFkh1, TFghs2/TFkh2 only name the configuration and the
// add/edit dialog to use.
#pragma once

#include "master/partner_book.h"
#include "master/ui/partner_dialog.h"
#include "master/ui/partner_list_window.h"
#include "master/ui/partner_picker.h"

#include <functional>
#include <memory>

using PartnerDialogFactory = std::function<std::unique_ptr<PartnerDialog>(QWidget *parent)>;

class PartnerBookListWindow : public PartnerListWindow {
    Q_OBJECT
public:
    const PartnerConfig &config() const { return config_; }

protected:
    PartnerBookListWindow(const PartnerConfig &config, PartnerDialogFactory dialog, QWidget *parent);

    QSqlQuery allRows() override;
    qint64 openDialog(qint64 id) override;
    Rows openQuery() override;
    void removeRecord(qint64 id) override;
    bool openImport() override;

private:
    const PartnerConfig &config_;
    PartnerDialogFactory dialog_;
};

class PartnerBookPicker : public PartnerPicker {
    Q_OBJECT
protected:
    PartnerBookPicker(const PartnerConfig &config, PartnerDialogFactory dialog, QWidget *parent);

    QSqlQuery rowsOnShow() override;
    QSqlQuery rowsFor(const QString &typed) override;
    void openAddDialog() override;

private:
    const PartnerConfig &config_;
    PartnerDialogFactory dialog_;
};
