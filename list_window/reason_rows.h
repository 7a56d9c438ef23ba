#pragma once

#include "conversion.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The rows of a conversion that got a reason, as the results show them: the first kKept, and
// how many there were in all. The memory is the kept rows', whatever the list's size.
class ReasonRows {
public:
    static constexpr std::size_t kKept = 1000;

    struct Row {
        std::uint64_t number;
        std::array<QString, 4> fields; // by lists::Column
        QString reason;
    };

    // On the converting thread, for each row in turn.
    void add(const lists::ReasonRow& row);

    const std::vector<Row>& kept() const { return kept_; }
    std::uint64_t total() const { return total_; }

private:
    std::vector<Row> kept_;
    std::uint64_t total_ = 0;
};

// The kept rows as a table: "Riga", the columns that the list's mode reads, "Motivo".
class ReasonRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ReasonRowsModel(const ReasonRows& rows, lists::Mode mode, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ReasonRows& rows_;
    std::vector<lists::Column> columns_;
};
