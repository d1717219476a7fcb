#include "app/widgets/record_table_model.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QFont>
#include <QHash>
#include <QLocale>
#include <QSqlQuery>
#include <QTimer>

#include <algorithm>
#include <numeric>

RecordTableModel::RecordTableModel(QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), columns_(std::move(columns))
{
    clearStorage();
}

int RecordTableModel::columnOf(const QString &field) const
{
    for (int c = 0; c < columns_.size(); ++c)
        if (columns_[c].field.compare(field, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

void RecordTableModel::clearStorage()
{
    stores_.assign(size_t(columns_.size()), Store());
    for (auto &s : stores_) s.offsets.push_back(0);
    order_.clear();
    ranks_.assign(size_t(columns_.size()), {});
    stored_ = 0;
    revealed_ = 0;
    sortColumn_ = -1;
    sortOrder_ = Qt::AscendingOrder;
}

void RecordTableModel::putText(int column, QStringView s)
{
    Store &st = stores_[size_t(column)];
    st.chars.append(s);
    st.offsets.push_back(quint32(st.chars.size()));
}

void RecordTableModel::load(QSqlQuery &query)
{
    pending_.reset();
    ++loads_;
    beginResetModel();
    clearStorage();
    QueryRows rows(&query);
    readRows(rows, -1);
    showStoredRows();
    open_ = true;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void RecordTableModel::loadLazily(QSqlQuery query, int firstRows)
{
    loadLazily(std::make_unique<QueryRows>(std::move(query)), firstRows);
}

void RecordTableModel::loadLazily(std::unique_ptr<RowSource> rows, int firstRows)
{
    pending_.reset();
    ++loads_;
    beginResetModel();
    clearStorage();
    if (readRows(*rows, firstRows) == firstRows) pending_ = std::move(rows);
    showStoredRows();
    open_ = true;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int RecordTableModel::readRows(RowSource &rows, int maxRows)
{
    std::vector<int> source(size_t(columns_.size()));
    for (int c = 0; c < columns_.size(); ++c) source[size_t(c)] = rows.indexOf(columns_[c].field);
    int read = 0;
    while (read != maxRows && rows.next()) {
        for (int c = 0; c < columns_.size(); ++c) {
            const int i = source[size_t(c)];
            if (isNumeric(c)) stores_[size_t(c)].numbers.push_back(i < 0 ? 0 : rows.value(i).toLongLong());
            else putText(c, i < 0 ? QString() : rows.value(i).toString());
        }
        ++stored_;
        ++read;
    }
    return read;
}

void RecordTableModel::showStoredRows()
{
    for (; revealed_ < stored_; ++revealed_) order_.push_back(revealed_);
}

bool RecordTableModel::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && pending_; }

void RecordTableModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !pending_) return;
    // Stored first, shown after: the view hears of the rows before it can see them. A sort
    // fetches everything first, so new rows never land in a sorted list.
    const int first = int(order_.size());
    const int read = readRows(*pending_, FetchBatch);
    if (read < FetchBatch) pending_.reset();
    if (read == 0) return;
    beginInsertRows({}, first, first + read - 1);
    showStoredRows();
    for (auto &r : ranks_) r.clear();
    endInsertRows();
}

void RecordTableModel::fetchRestInBackground(std::function<void()> done)
{
    if (!canFetchMore()) {
        if (done) done();
        return;
    }
    QTimer::singleShot(0, this, [this, loads = loads_, done = std::move(done)]() mutable {
        if (loads != loads_) return;   // another query replaced the list meanwhile
        fetchMore();
        fetchRestInBackground(std::move(done));
    });
}

void RecordTableModel::fetchAll()
{
    while (canFetchMore()) fetchMore();
}

void RecordTableModel::appendRow(const std::vector<Cell> &cells)
{
    const int row = int(order_.size());
    beginInsertRows({}, row, row);
    for (int c = 0; c < columns_.size(); ++c) {
        const Cell *cell = size_t(c) < cells.size() ? &cells[size_t(c)] : nullptr;
        if (isNumeric(c)) {
            qint64 v = 0;
            if (cell) {
                if (auto *d = std::get_if<Decimal>(cell)) v = columns_[c].kind == Integer ? d->raw() / Decimal::Scale : d->raw();
                else if (auto *n = std::get_if<qint64>(cell)) v = columns_[c].kind == Integer ? *n : *n * Decimal::Scale;
                else if (auto *s = std::get_if<QString>(cell)) v = columns_[c].kind == Integer ? s->toLongLong() : Decimal::parseOr0(*s).raw();
            }
            stores_[size_t(c)].numbers.push_back(v);
        } else {
            QString s;
            if (cell) {
                if (auto *t = std::get_if<QString>(cell)) s = *t;
                else if (auto *d = std::get_if<Decimal>(cell)) s = d->toPlain();
                else s = QString::number(std::get<qint64>(*cell));
            }
            putText(c, s);
        }
    }
    ++stored_;
    showStoredRows();
    for (auto &r : ranks_) r.clear();
    open_ = true;
    endInsertRows();
}

void RecordTableModel::clearOpen()
{
    close();
    open_ = true;
}

void RecordTableModel::close()
{
    pending_.reset();
    ++loads_;
    beginResetModel();
    clearStorage();
    open_ = false;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QStringView RecordTableModel::storedText(int column, int storedRow) const
{
    const Store &st = stores_[size_t(column)];
    if (!st.changed.empty())
        if (const auto it = st.changed.find(storedRow); it != st.changed.end()) return it->second;
    const quint32 from = st.offsets[size_t(storedRow)];
    return QStringView(st.chars).mid(from, st.offsets[size_t(storedRow) + 1] - from);
}

QString RecordTableModel::display(int column, int storedRow) const
{
    switch (columns_[column].kind) {
    case Text: return storedText(column, storedRow).toString();
    case Integer: return QString::number(stores_[size_t(column)].numbers[size_t(storedRow)]);
    case Amount:
    case Quantity: return Decimal::fromRaw(stores_[size_t(column)].numbers[size_t(storedRow)]).toFixed2();
    }
    return {};
}

void RecordTableModel::setText(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_.size() || isNumeric(column)) return;
    stores_[size_t(column)].changed[order_[size_t(row)]] = text;
    ranks_[size_t(column)].clear();
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

QString RecordTableModel::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_.size()) return {};
    return display(column, order_[size_t(row)]);
}

Decimal RecordTableModel::decimal(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_.size()) return {};
    const int s = order_[size_t(row)];
    switch (columns_[column].kind) {
    case Text: return Decimal::parseOr0(storedText(column, s));
    case Integer: return Decimal::fromRaw(stores_[size_t(column)].numbers[size_t(s)] * Decimal::Scale);
    default: return Decimal::fromRaw(stores_[size_t(column)].numbers[size_t(s)]);
    }
}

qint64 RecordTableModel::integer(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_.size()) return 0;
    const int s = order_[size_t(row)];
    switch (columns_[column].kind) {
    case Text: return storedText(column, s).toLongLong();
    case Integer: return stores_[size_t(column)].numbers[size_t(s)];
    default: return stores_[size_t(column)].numbers[size_t(s)] / Decimal::Scale;
    }
}

void RecordTableModel::setRowBackground(RowColour rule)
{
    background_ = std::move(rule);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void RecordTableModel::setRowForeground(RowColour rule)
{
    foreground_ = std::move(rule);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::ForegroundRole});
}

void RecordTableModel::setTitle(int column, const QString &title)
{
    if (column < 0 || column >= columns_.size()) return;
    columns_[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void RecordTableModel::redRowsWhenNegative(const QString &field, bool orZero)
{
    const int column = columnOf(field);
    if (column < 0 || !isNumeric(column)) return setRowForeground({});
    setRowForeground([this, column, orZero](int row) -> std::optional<QColor> {
        const qint64 v = decimal(row, column).raw();
        if (v < 0 || (orZero && v == 0)) return QColor(Qt::red);
        return std::nullopt;
    });
}

void RecordTableModel::highlightNotApproved(const QString &field)
{
    const int column = columnOf(field);
    if (column < 0 || isNumeric(column)) return;
    setRowBackground([this, column](int row) -> std::optional<QColor> {
        if (storedText(column, order_[size_t(row)]) == u"未审核") return notApprovedColour();
        return std::nullopt;
    });
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(order_.size());
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columns_.size()) return {};
    const int c = index.column();
    const int s = order_[size_t(index.row())];
    const Kind kind = columns_[c].kind;
    switch (role) {
    case Qt::DisplayRole:
        return display(c, s);
    case Qt::TextAlignmentRole:
        if (kind == Text) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (foreground_) {
            if (auto colour = foreground_(index.row())) return *colour;
        }
        if ((kind == Amount || kind == Quantity) && stores_[size_t(c)].numbers[size_t(s)] < 0) return QColor(Qt::red);
        return {};
    case Qt::BackgroundRole:
        if (background_) {
            if (auto colour = background_(index.row())) return *colour;
        }
        return {};
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) return columns_[section].title;
    if (role == Qt::FontRole && section == sortColumn_) {
        QFont f;
        f.setBold(true);
        return f;
    }
    return {};
}

void RecordTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columns_.size()) return;
    fetchAll();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<int> storedOf;   // stored row of each persistent index, taken before the move
    storedOf.reserve(size_t(persistent.size()));
    for (const QModelIndex &i : persistent) storedOf.push_back(order_[size_t(i.row())]);

    const bool desc = order == Qt::DescendingOrder;
    // Equal values stay in the order they were loaded, in either direction.
    if (isNumeric(column)) {
        const auto &v = stores_[size_t(column)].numbers;
        std::sort(order_.begin(), order_.end(), [&](int a, int b) {
            if (v[size_t(a)] != v[size_t(b)]) return desc ? v[size_t(a)] > v[size_t(b)] : v[size_t(a)] < v[size_t(b)];
            return a < b;
        });
    } else {
        const std::vector<int> &rank = textRanks(column);
        std::sort(order_.begin(), order_.end(), [&](int a, int b) {
            if (rank[size_t(a)] != rank[size_t(b)]) return desc ? rank[size_t(a)] > rank[size_t(b)] : rank[size_t(a)] < rank[size_t(b)];
            return a < b;
        });
    }
    sortColumn_ = column;
    sortOrder_ = order;

    std::vector<int> shownOf(size_t(stored_), -1);
    for (size_t r = 0; r < order_.size(); ++r) shownOf[size_t(order_[r])] = int(r);
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (qsizetype i = 0; i < persistent.size(); ++i)
        moved.append(index(shownOf[size_t(storedOf[size_t(i)])], persistent[i].column()));
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

const std::vector<int> &RecordTableModel::textRanks(int column) const
{
    std::vector<int> &rank = ranks_[size_t(column)];
    if (int(rank.size()) == stored_) return rank;
    // Lists repeat their texts (warehouses, goods, partners): collate each distinct text once.
    QHash<QStringView, int> distinct;
    std::vector<QStringView> values;
    rank.assign(size_t(stored_), 0);
    for (int r = 0; r < stored_; ++r) {
        const QStringView t = storedText(column, r);
        auto it = distinct.constFind(t);
        if (it == distinct.constEnd()) {
            it = distinct.insert(t, int(values.size()));
            values.push_back(t);
        }
        rank[size_t(r)] = it.value();
    }
    // Chinese collation (pinyin order), as the operator expects names sorted; one key per text
    // so the comparisons are plain byte compares.
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::vector<QCollatorSortKey> keys;
    keys.reserve(values.size());
    for (QStringView v : values) keys.push_back(collator.sortKey(v.toString()));
    std::vector<int> byKey(values.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(), [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    std::vector<int> position(values.size());
    int current = -1;
    for (size_t i = 0; i < byKey.size(); ++i) {
        // Texts the collation holds equal share a rank and keep their loaded order.
        if (i == 0 || keys[size_t(byKey[i - 1])].compare(keys[size_t(byKey[i])]) != 0) ++current;
        position[size_t(byKey[i])] = current;
    }
    for (int &r : rank) r = position[size_t(r)];
    return rank;
}

bool RecordTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount()) return false;
    beginRemoveRows({}, row, row + count - 1);
    order_.erase(order_.begin() + row, order_.begin() + row + count);
    endRemoveRows();
    return true;
}
