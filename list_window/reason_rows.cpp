#include "reason_rows.h"

namespace {

using lists::Column;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The columns that a list's mode reads, as the converter's layout has them.
std::vector<Column> columnsRead(lists::Mode mode) {
    switch (mode) {
    case lists::Mode::Calcolo:
        return {Column::Abi, Column::Cab, Column::Conto};
    case lists::Mode::Verifica:
        return {Column::Iban};
    case lists::Mode::Confronto:
        break;
    }
    return {Column::Abi, Column::Cab, Column::Conto, Column::Iban};
}

QString title(Column column) {
    switch (column) {
    case Column::Abi:
        return QStringLiteral("ABI");
    case Column::Cab:
        return QStringLiteral("CAB");
    case Column::Conto:
        return QStringLiteral("Conto");
    case Column::Iban:
        break;
    }
    return QStringLiteral("IBAN");
}

} // namespace

void ReasonRows::add(const lists::ReasonRow& row) {
    ++total_;
    if (kept_.size() == kKept) {
        return;
    }
    Row& kept = kept_.emplace_back();
    kept.number = row.number;
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
        kept.fields[i] = fromUtf8(row.fields[i]);
    }
    kept.reason = fromUtf8(row.reason);
}

ReasonRowsModel::ReasonRowsModel(const ReasonRows& rows, lists::Mode mode, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), columns_(columnsRead(mode)) {}

int ReasonRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.kept().size());
}

int ReasonRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size()) + 2;
}

QVariant ReasonRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    const ReasonRows::Row& row = rows_.kept()[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    if (column == 0) {
        return QString::number(row.number); // as a spreadsheet numbers its rows: no grouping
    }
    if (column > columns_.size()) {
        return row.reason;
    }
    return row.fields[static_cast<std::size_t>(columns_[column - 1])];
}

QVariant ReasonRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    const auto column = static_cast<std::size_t>(section);
    if (column == 0) {
        return QStringLiteral("Riga");
    }
    if (column > columns_.size()) {
        return QStringLiteral("Motivo");
    }
    return title(columns_[column - 1]);
}
