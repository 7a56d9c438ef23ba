#pragma once

#include "list_module.h"

#include <QDialog>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Scegli le colonne": the sheets of a workbook, the headers and the first rows of the sheet
// chosen, and the column that holds ABI, CAB, Conto and IBAN, each "(nessuna)" or a column,
// those found by their usual names already chosen. What it gives is what --foglio, --abi,
// --cab, --conto and --iban say to bviban-cli converti.
class ColumnDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the start of a list, from a sheet named as --foglio names it.
    using Previewer = std::function<lists::PreviewOutcome(const std::filesystem::path& input,
                                                          const std::string& sheet)>;

    // `why`: the sentence above the choices.
    ColumnDialog(const std::filesystem::path& input, const QString& why, Previewer previewer,
                 QWidget* parent);

    // Reads the sheet (the first for ""); false when the list cannot be read, error() says why.
    bool load(const std::string& sheet);
    const QString& error() const { return error_; }

    // The choice, once accepted.
    std::string sheet() const;
    lists::ColumnOptions columns() const;

private:
    void fillPreview();
    void choiceChanged();

    std::filesystem::path input_;
    Previewer previewer_;
    lists::ListPreview preview_;
    QString error_;

    QLabel* lblPerche;
    QLabel* lblFoglio;
    QComboBox* cboFoglio;
    QTableWidget* tblAnteprima;
    std::array<QComboBox*, 4> cboColonne; // by lists::Column
    QLabel* lblAvviso;
    QPushButton* cmdConverti;
};
