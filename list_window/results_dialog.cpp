#include "results_dialog.h"

#include "launcher.h"
#include "look.h"
#include "number_text.h"
#include "open_failure.h"
#include "reason_rows.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString toText(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

QString count(std::uint64_t n) {
    return QString::fromStdString(lists::groupedDigits(n));
}

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QPushButton* button(QDialogButtonBox* box, const char* name, const QString& text,
                    QDialogButtonBox::ButtonRole role) {
    QPushButton* b = box->addButton(text, role);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// One line of the list of lists: its name, how it ended, its counts.
void addListRow(QTableWidget* table, const ListResult& result) {
    const int row = table->rowCount();
    table->insertRow(row);
    QStringList cells = {QFileInfo(result.input).fileName()};
    if (result.summary) {
        cells << QStringLiteral("Convertito in «%1»")
                     .arg(QFileInfo(toText(result.summary->output)).fileName())
              << count(result.summary->dataRows) << count(result.summary->rowsOk)
              << count(result.summary->rowsWithReason);
    } else {
        cells << result.problem << QString() << QString() << QString();
    }
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        if (column >= 2) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        table->setItem(row, column, item);
    }
}

} // namespace

ResultsDialog::ResultsDialog(const std::vector<std::unique_ptr<ListResult>>& results,
                             shell::Launcher& launcher, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      results_(results), launcher_(launcher) {
    setObjectName(QStringLiteral("frmRisultato"));
    setWindowTitle(QStringLiteral("Risultato della conversione"));
    setWindowIcon(look::applicationIcon());
    auto* layout = new QVBoxLayout(this);

    if (results.size() > 1) {
        auto* caption = label(this, "lblElenchi");
        caption->setText(QStringLiteral("Elenchi convertiti: scegline uno per vederne le righe."));
        tblElenchi = new QTableWidget(0, 5, this);
        tblElenchi->setObjectName(QStringLiteral("tblElenchi"));
        tblElenchi->setAccessibleName(QStringLiteral("Elenchi convertiti"));
        tblElenchi->setHorizontalHeaderLabels(
            {QStringLiteral("Elenco"), QStringLiteral("Risultato"), QStringLiteral("Righe di dati"),
             QStringLiteral("Righe OK"), QStringLiteral("Con un motivo")});
        tblElenchi->setSelectionBehavior(QAbstractItemView::SelectRows);
        tblElenchi->setSelectionMode(QAbstractItemView::SingleSelection);
        tblElenchi->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tblElenchi->verticalHeader()->hide();
        for (const auto& result : results) {
            addListRow(tblElenchi, *result);
        }
        tblElenchi->resizeColumnsToContents();
        tblElenchi->horizontalHeader()->setStretchLastSection(true);
        connect(tblElenchi, &QTableWidget::currentCellChanged, this,
                [this](int row) { showList(*results_[static_cast<std::size_t>(row)]); });
        caption->setBuddy(tblElenchi);
        layout->addWidget(caption);
        layout->addWidget(tblElenchi);
    }

    lblEsito = label(this, "lblEsito");
    layout->addWidget(lblEsito);
    fraConteggi = new QWidget(this);
    fraConteggi->setObjectName(QStringLiteral("fraConteggi"));
    fraConteggi->setAccessibleName(QStringLiteral("Conteggi"));
    conteggi = new QVBoxLayout(fraConteggi);
    conteggi->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fraConteggi);

    tblMotivi = new QTableView(this);
    tblMotivi->setObjectName(QStringLiteral("tblMotivi"));
    tblMotivi->setAccessibleName(QStringLiteral("Righe con un motivo"));
    tblMotivi->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblMotivi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblMotivi->setWordWrap(false);
    tblMotivi->verticalHeader()->hide();
    tblMotivi->horizontalHeader()->setStretchLastSection(true);
    tblMotivi->setMinimumSize(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 12);
    layout->addWidget(tblMotivi, 1);
    lblAltre = label(this, "lblAltre");
    layout->addWidget(lblAltre);

    auto* buttons = new QDialogButtonBox(this);
    cmdApriFile = button(buttons, "cmdApriFile", QStringLiteral("Apri il file"),
                         QDialogButtonBox::ActionRole);
    cmdApriCartella = button(buttons, "cmdApriCartella", QStringLiteral("Apri la cartella"),
                             QDialogButtonBox::ActionRole);
    cmdChiudi =
        button(buttons, "cmdChiudi", QStringLiteral("Chiudi"), QDialogButtonBox::RejectRole);
    connect(cmdApriFile, &QPushButton::clicked, this, [this] {
        const QFileInfo output(toText(shown_->summary->output));
        open(output.absoluteFilePath(),
             QStringLiteral("Non riesco ad aprire il file «%1»: il sistema non ha un programma "
                            "che lo apra. Il file è qui:")
                 .arg(output.fileName()));
    });
    connect(cmdApriCartella, &QPushButton::clicked, this, [this] {
        open(QFileInfo(toText(shown_->summary->output)).absolutePath(),
             QStringLiteral("Non riesco ad aprire la cartella: il sistema non ha un programma "
                            "che la apra. La cartella è questa:"));
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 72);

    if (tblElenchi != nullptr) {
        tblElenchi->setCurrentCell(0, 0);
    } else {
        showList(*results.front());
    }
    cmdChiudi->setFocus();
}

// The list's outcome, its counts and its rows with a reason, below the list of lists.
void ResultsDialog::showList(const ListResult& result) {
    shown_ = &result;
    const QFileInfo input(result.input);
    const bool converted = result.summary.has_value();
    if (converted) {
        const QFileInfo output(toText(result.summary->output));
        lblEsito->setText(
            QStringLiteral("L'elenco «%1» è convertito nel file «%2», nella cartella «%3».")
                .arg(input.fileName(), output.fileName(),
                     QDir::toNativeSeparators(output.absolutePath())));
    } else {
        lblEsito->setText(QStringLiteral("L'elenco «%1» non è convertito: %2")
                              .arg(input.fileName(), result.problem));
    }
    while (QLayoutItem* item = conteggi->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (converted) {
        const QString text = QString::fromStdString(lists::summaryText(*result.summary));
        int line = 0;
        for (const QString& fact : text.split(QLatin1Char('\n'))) {
            QLabel* l = label(fraConteggi, "lblConteggio");
            l->setObjectName(QStringLiteral("lblConteggio%1").arg(++line));
            l->setText(fact.trimmed());
            l->setIndent(fact.startsWith(QLatin1Char(' ')) ? fontMetrics().averageCharWidth() * 3
                                                           : 0);
            conteggi->addWidget(l);
        }
    }

    auto* model = new ReasonRowsModel(
        result.rows, converted ? result.summary->mode : lists::Mode::Calcolo, tblMotivi);
    tblMotivi->setModel(model);
    delete model_;
    model_ = model;
    tblMotivi->resizeColumnsToContents();
    tblMotivi->setVisible(!result.rows.kept().empty());
    const std::uint64_t more = result.rows.total() - result.rows.kept().size();
    lblAltre->setText(
        more == 0 ? QString()
        : more == 1
            ? QStringLiteral("Un'altra riga con un motivo non è elencata qui: è nel file "
                             "convertito, con il suo motivo nella colonna Esito.")
            : QStringLiteral("Altre %1 righe con un motivo non sono elencate qui: sono nel file "
                             "convertito, con il loro motivo nella colonna Esito.")
                  .arg(count(more)));
    lblAltre->setVisible(more > 0);
    cmdApriFile->setEnabled(converted);
    cmdApriCartella->setEnabled(converted);
}

void ResultsDialog::open(const QString& target, const QString& what) {
    const shell::ProcessHandle handle = launcher_.ApriDocumento(target, QString(), 0);
    if (handle == 0) {
        tellOpenFailure(this, what, QDir::toNativeSeparators(target));
        return;
    }
    launcher_.releaseHandle(handle);
}
