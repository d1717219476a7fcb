// The viewer every document list shares: one document read only with its lines, walked over
// the documents the list showed when it opened the viewer (first, previous, next, last), and
// printed with or without codes. What differs between kinds is its configuration.
#pragma once

#include "documents/document.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordTableModel;

struct DocumentViewerConfig {
    DocType type;
    QString caption;          // "浏览采购入库单"
    QString title;            // "采购入库单"
    QString partyCaption;     // "厂商"
    QString payableCaption;   // "应付额"
    QString paidCaption;      // "实付额"
    // Stock documents show their own header fields (column, caption) in place of the party and
    // money ones, and an adjustment its sign rule.
    QList<std::pair<QString, QString>> headerFields = {};
    QString explanation = {};
};

class DocumentViewer : public QWidget {
    Q_OBJECT
public:
    // The documents to walk, in the list's order, and the one to show.
    void showDocuments(const QStringList &numbers, int index);

    int index() const { return index_; }
    const QStringList &numbers() const { return numbers_; }
    RecordTableModel *lines() const { return lines_; }
    QString totalText(int i) const;   // 0: hjsl, 1: hjje

    void first();      // BB1
    void previous();   // BB2
    void next();       // BB3
    void last();       // BB4
    void print(bool withCodes);

protected:
    DocumentViewer(DocumentViewerConfig config, QWidget *parent);

private:
    void go(int index);
    void load();

    DocumentViewerConfig config_;
    const DocumentKind &kind_;
    QStringList numbers_;
    int index_ = -1;
    std::optional<DocumentHeader> header_;
    QList<DocumentLine> documentLines_;

    QHash<QString, QLineEdit *> fields_;
    QLabel *approval_ = nullptr;
    RecordTableModel *lines_ = nullptr;
    QTableView *grid_ = nullptr;
    QList<QLabel *> totals_;
    QPushButton *first_, *previous_, *next_, *last_;
};
