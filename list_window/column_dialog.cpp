#include "column_dialog.h"

#include "look.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using lists::Column;

constexpr std::array<Column, 4> kColumns = {Column::Abi, Column::Cab, Column::Conto, Column::Iban};

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// What the choices of a column say: its number and its header.
QString columnName(const lists::ListPreview& preview, std::size_t column) {
    const std::vector<std::string>& header = preview.rows.front();
    const QString title =
        column < header.size() ? fromUtf8(header[column]).simplified() : QString();
    return title.isEmpty() ? QStringLiteral("Colonna %1").arg(column + 1)
                           : QStringLiteral("Colonna %1: %2").arg(column + 1).arg(title);
}

} // namespace

ColumnDialog::ColumnDialog(const std::filesystem::path& input, const QString& why,
                           Previewer previewer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      input_(input), previewer_(std::move(previewer)) {
    setObjectName(QStringLiteral("frmColonne"));
    setWindowTitle(QStringLiteral("Scegli le colonne"));
    setWindowIcon(look::applicationIcon());

    lblPerche = new QLabel(why, this);
    lblPerche->setObjectName(QStringLiteral("lblPerche"));
    lblPerche->setTextFormat(Qt::PlainText);
    lblPerche->setWordWrap(true);

    lblFoglio = new QLabel(QStringLiteral("&Foglio:"), this);
    cboFoglio = new QComboBox(this);
    cboFoglio->setObjectName(QStringLiteral("cboFoglio"));
    cboFoglio->setAccessibleName(QStringLiteral("Foglio"));
    lblFoglio->setBuddy(cboFoglio);
    connect(cboFoglio, &QComboBox::activated, this,
            [this](int index) { load(cboFoglio->itemText(index).toStdString()); });

    tblAnteprima = new QTableWidget(this);
    tblAnteprima->setObjectName(QStringLiteral("tblAnteprima"));
    tblAnteprima->setAccessibleName(QStringLiteral("Anteprima dell'elenco"));
    tblAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblAnteprima->setSelectionMode(QAbstractItemView::NoSelection);
    tblAnteprima->setFocusPolicy(Qt::TabFocus);
    tblAnteprima->setMinimumSize(fontMetrics().averageCharWidth() * 80,
                                 fontMetrics().height() * 10);
    auto* lblAnteprima =
        new QLabel(QStringLiteral("Le intestazioni e le prime righe dell'elenco:"), this);
    lblAnteprima->setBuddy(tblAnteprima);

    auto* form = new QFormLayout;
    form->addRow(lblFoglio, cboFoglio);
    const std::array<const char*, 4> captions = {"A&BI:", "&CAB:", "C&onto:", "&IBAN:"};
    const std::array<const char*, 4> names = {"cboABI", "cboCAB", "cboConto", "cboIBAN"};
    const std::array<const char*, 4> spoken = {"Colonna dell'ABI", "Colonna del CAB",
                                               "Colonna del conto", "Colonna dell'IBAN"};
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QLatin1String(names[i]));
        combo->setAccessibleName(QString::fromUtf8(spoken[i]));
        connect(combo, &QComboBox::currentIndexChanged, this, &ColumnDialog::choiceChanged);
        auto* caption = new QLabel(QString::fromUtf8(captions[i]), this);
        caption->setBuddy(combo);
        form->addRow(caption, combo);
        cboColonne[i] = combo;
    }

    lblAvviso = new QLabel(this);
    lblAvviso->setObjectName(QStringLiteral("lblAvviso"));
    lblAvviso->setWordWrap(true);
    lblAvviso->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(this);
    cmdConverti = buttons->addButton(QStringLiteral("Converti"), QDialogButtonBox::AcceptRole);
    cmdConverti->setObjectName(QStringLiteral("cmdConverti"));
    QPushButton* annulla =
        buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    annulla->setObjectName(QStringLiteral("cmdAnnulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPerche);
    layout->addWidget(lblAnteprima);
    layout->addWidget(tblAnteprima, 1);
    layout->addLayout(form);
    layout->addWidget(lblAvviso);
    layout->addWidget(buttons);
}

bool ColumnDialog::load(const std::string& sheet) {
    const lists::PreviewOutcome outcome = previewer_(input_, sheet);
    if (!outcome.preview) {
        error_ = fromUtf8(outcome.error);
        return false;
    }
    preview_ = *outcome.preview;
    error_.clear();
    fillPreview();
    return true;
}

void ColumnDialog::fillPreview() {
    {
        const QSignalBlocker blocker(cboFoglio);
        cboFoglio->clear();
        for (const std::string& name : preview_.sheets) {
            cboFoglio->addItem(fromUtf8(name));
        }
        cboFoglio->setCurrentText(fromUtf8(preview_.sheet));
    }
    lblFoglio->setVisible(!preview_.sheets.empty());
    cboFoglio->setVisible(!preview_.sheets.empty());

    const std::size_t width = preview_.columnOptions.size();
    const std::size_t rows = preview_.rows.empty() ? 0 : preview_.rows.size() - 1;
    tblAnteprima->clear();
    tblAnteprima->setColumnCount(static_cast<int>(width));
    tblAnteprima->setRowCount(static_cast<int>(rows));
    QStringList headers;
    for (std::size_t column = 0; column < width; ++column) {
        headers << columnName(preview_, column);
    }
    tblAnteprima->setHorizontalHeaderLabels(headers);
    for (std::size_t row = 0; row < rows; ++row) {
        const std::vector<std::string>& cells = preview_.rows[row + 1];
        for (std::size_t column = 0; column < cells.size(); ++column) {
            tblAnteprima->setItem(static_cast<int>(row), static_cast<int>(column),
                                  new QTableWidgetItem(fromUtf8(cells[column])));
        }
    }
    QStringList numbers;
    for (std::size_t row = 0; row < rows; ++row) {
        numbers << QString::number(preview_.headerNumber + row + 1);
    }
    tblAnteprima->setVerticalHeaderLabels(numbers);
    tblAnteprima->resizeColumnsToContents();

    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        QComboBox* combo = cboColonne[i];
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItem(QStringLiteral("(nessuna)"));
        for (std::size_t column = 0; column < width; ++column) {
            combo->addItem(columnName(preview_, column));
        }
        const std::size_t found = preview_.recognised[i];
        combo->setCurrentIndex(found == lists::Layout::kNone ? 0 : static_cast<int>(found) + 1);
    }
    choiceChanged();
    cboColonne.front()->setFocus();
}

// Converting needs ABI, CAB and Conto, or IBAN. A column its header names is read whatever the
// choice, as bviban-cli reads it: the dialog says so rather than promise otherwise.
void ColumnDialog::choiceChanged() {
    const auto chosen = [this](Column column) {
        return cboColonne[static_cast<std::size_t>(column)]->currentIndex() > 0;
    };
    cmdConverti->setEnabled((chosen(Column::Abi) && chosen(Column::Cab) && chosen(Column::Conto)) ||
                            chosen(Column::Iban));
    QStringList kept;
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (!chosen(kColumns[i]) && preview_.recognised[i] != lists::Layout::kNone) {
            kept << columnName(preview_, preview_.recognised[i]);
        }
    }
    lblAvviso->setText(
        kept.isEmpty()
            ? QString()
            : QStringLiteral("%1: la sua intestazione la fa riconoscere, e sarà letta comunque.")
                  .arg(kept.join(QStringLiteral(", "))));
    lblAvviso->setVisible(!kept.isEmpty());
}

std::string ColumnDialog::sheet() const {
    return preview_.sheets.empty() ? std::string() : preview_.sheet;
}

lists::ColumnOptions ColumnDialog::columns() const {
    lists::ColumnOptions options;
    const std::array<std::string*, 4> fields = {&options.abi, &options.cab, &options.conto,
                                                &options.iban};
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const int index = cboColonne[i]->currentIndex();
        if (index > 0) {
            *fields[i] = preview_.columnOptions[static_cast<std::size_t>(index - 1)];
        }
    }
    return options;
}
