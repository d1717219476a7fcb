// The entry window every trade and stock document is written in: header, line grid, line entry,
// amounts and the keys F5–F12. A kind differs only by its EntryWindowConfig.
#pragma once

#include "documents/document.h"
#include "documents/line_buffer.h"
#include "documents/ui/line_dialogs.h"
#include "master/goods_picking.h"
#include "master/lookup_list.h"
#include "master/ui/partner_caller.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <optional>

class HeldDocumentChooser;
class PartnerPicker;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class RecordTableModel;

// A header field filled from a lookup list (warehouse, adjustment reason): read only, picked by
// its button, a double-click or Enter while empty.
struct ListField {
    QString column;          // "ck", "ck1", "ck2", "lx"
    QString caption, hint;   // "调出仓库", "选择仓库"
    QString mark;            // the mark the list is opened with ("tjdb1"); empty: the window's
    LookupKind list = LookupKind::Warehouse;
    bool afterHandler = false;   // walked after the handler, not before it
    QString emptyOnLeave;    // refused when the operator leaves it empty; empty text: allowed
};

struct EntryWindowConfig {
    DocType type;
    QString mark;                        // the callers' mark the choosers fill: "tjcg"
    QString newCaption, editCaption;     // "新增采购入库单" / "修改采购入库单"
    QString partyCaption, partyPickHint; // "厂商" / "选择厂商"
    bool partyTyped = false;             // a counter customer may be typed, not only chosen
    QString partyHint;                   // the party field's own hint
    QString payableCaption, payableHint, paidCaption, paidHint;
    QString priceColumn;                 // the goods price a typed code takes: "jj"
    bool codeInWarehouse = true;         // the code names goods of the document's warehouse only
    QString addOnEnter;                  // the line field whose Enter adds the line: "sl"
    bool priceAdds = false;              // Enter in the price adds the line too (a counter sale)
    QString lineCaption, discountCaption, lineMode;   // "修改采购明细", "采购单折扣率", "cgmx"
    LineDialogShape lineShape;
    // The header fields picked from lists; the first is the warehouse the goods come from.
    QList<ListField> listFields = {{QStringLiteral("ck"), QStringLiteral("仓库"), QStringLiteral("选择仓库"), {},
                                    LookupKind::Warehouse, false, QStringLiteral("仓库不可为空！")}};
    QString afterDate = QStringLiteral("jsr");   // where Enter in the date goes
    bool signedQuantity = true;          // returns and stock taken out are typed below zero
    QString explanation;                 // the read-only rule shown beside the header: "数量＞0：入库…"
    // After a new document is saved these header fields are emptied (the next document of the
    // same round differs in them) and the focus goes to the first; the rest stay.
    QStringList clearedAfterSave;        // empty: the party
    bool noteEntersLine = false;         // Enter in the note goes to the code instead of approving
    std::function<PartnerPicker *(QWidget *parent)> partyPicker;
    std::function<HeldDocumentChooser *(QWidget *parent)> chooser;
};

class DocumentEntryWindow : public QWidget, public GoodsLineCaller, public LookupCaller, public PartnerCaller {
    Q_OBJECT
public:
    DocumentEntryWindow(EntryWindowConfig config, QWidget *parent = nullptr);
    ~DocumentEntryWindow() override;

    const EntryWindowConfig &config() const { return config_; }
    const DocumentKind &kind() const { return buffer_.kind(); }
    LineBuffer &lines() { return buffer_; }
    QString mode() const;   // "新增" / "修改"

    // GoodsLineCaller
    QString currentWarehouse() const override;
    void appendGoodsLine(const GoodsLine &line) override;
    void recomputeTotals() override;
    // LookupCaller, PartnerCaller
    void lookupChosen(LookupKind kind, const QString &mark, const QString &value) override;
    void partnerChosen(const QString &mark, const QString &name) override;

    // The chooser's "选择": the held document is the one edited from now on.
    void takeUp(const DocumentHeader &header);

    // The buttons and keys.
    void startClick();     // 开单 F5
    void chooseHeld();     // 取单 F6
    void approveClick();   // 结单 F8
    void holdClick();      // 挂单 F9
    void addLine();        // F10
    void deleteLine();     // F11
    void changeLine();     // F12
    void discountAll();    // 整单折扣
    void print(bool withCodes);
    QMenu *printMenu() const { return printMenu_; }

protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    QLineEdit *field(const QString &name) const { return fields_.value(name); }
    void setField(const QString &name, const QString &text) const;   // fields the kind lacks are passed over
    void startDocument();
    void offerInterruptedLines();
    bool issueNumber(const std::optional<QString> &after);
    void save(bool approve);
    DocumentHeader currentHeader() const;
    void lookUpCode();
    void refreshGrid();
    void setCaptionFor(bool held);
    void followDiscount();
    void openList(const ListField &f);
    const ListField *listField(const QString &column) const;
    QString goodsWarehouseColumn() const;
    void openHandlerPicker();
    void openPartyPicker();
    void openGoodsPicker();
    void stopForDayLimit();
    int currentLine() const;

    EntryWindowConfig config_;
    LineBuffer buffer_;
    QHash<QString, QLineEdit *> fields_;
    QDateEdit *date_ = nullptr;
    QLabel *ztbj_ = nullptr;
    QTableView *grid_ = nullptr;
    RecordTableModel *model_ = nullptr;
    QMenu *printMenu_ = nullptr;
    QPushButton *closeButton_ = nullptr;
    QString pickedField_;   // the handler and the party pickers answer with the same mark
    std::optional<Decimal> lookedUpCost_;   // the stock unit cost of the goods the code names
    bool closing_ = false;
};
