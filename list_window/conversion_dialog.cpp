#include "conversion_dialog.h"

#include "look.h"
#include "number_text.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kSteps = 1000;

} // namespace

ConversionDialog::ConversionDialog(const QString& fileName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmConversione"));
    setWindowTitle(QStringLiteral("Conversione dell'elenco"));
    setWindowIcon(look::applicationIcon());
    setAccessibleName(windowTitle());
    setWindowModality(Qt::WindowModal);

    lblFile = new QLabel(QStringLiteral("Conversione di «%1» in corso…").arg(fileName), this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setAccessibleName(QStringLiteral("Elenco in conversione"));
    lblFile->setTextFormat(Qt::PlainText);

    prgAvanzamento = new QProgressBar(this);
    prgAvanzamento->setObjectName(QStringLiteral("prgAvanzamento"));
    prgAvanzamento->setAccessibleName(QStringLiteral("Avanzamento della conversione"));
    prgAvanzamento->setRange(0, kSteps);
    prgAvanzamento->setValue(0);
    prgAvanzamento->setFormat(QStringLiteral("%p%"));

    lblRighe = new QLabel(QStringLiteral("0 righe"), this);
    lblRighe->setObjectName(QStringLiteral("lblRighe"));
    lblRighe->setAccessibleName(QStringLiteral("Righe convertite"));

    cmdAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setAccessibleName(QStringLiteral("Annulla la conversione"));
    connect(cmdAnnulla, &QPushButton::clicked, this, &ConversionDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addWidget(prgAvanzamento);
    layout->addWidget(lblRighe);
    layout->addWidget(cmdAnnulla, 0, Qt::AlignRight);
    setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    adjustSize();
}

void ConversionDialog::showProgress(double fraction, quint64 rows) {
    if (fraction < 0) {
        prgAvanzamento->setRange(0, 0);
    } else {
        prgAvanzamento->setRange(0, kSteps);
        prgAvanzamento->setValue(static_cast<int>(fraction * kSteps));
    }
    lblRighe->setText(QString::fromStdString(lists::groupedDigits(rows)) +
                      (rows == 1 ? QStringLiteral(" riga") : QStringLiteral(" righe")));
}

void ConversionDialog::reject() {
    cmdAnnulla->setEnabled(false);
    cmdAnnulla->setText(QStringLiteral("Annullamento…"));
    emit cancelRequested();
}
