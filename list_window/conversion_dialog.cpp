#include "conversion_dialog.h"

#include "look.h"
#include "number_text.h"

#include <QLabel>
#include <QListWidget>
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

    lblFile = new QLabel(this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setTextFormat(Qt::PlainText);

    prgAvanzamento = new QProgressBar(this);
    prgAvanzamento->setObjectName(QStringLiteral("prgAvanzamento"));
    prgAvanzamento->setAccessibleName(QStringLiteral("Avanzamento della conversione"));
    prgAvanzamento->setRange(0, kSteps);
    prgAvanzamento->setValue(0);
    prgAvanzamento->setFormat(QStringLiteral("%p%"));

    lblRighe = new QLabel(this);
    lblRighe->setObjectName(QStringLiteral("lblRighe"));

    lstFatti = new QListWidget(this);
    lstFatti->setObjectName(QStringLiteral("lstFatti"));
    lstFatti->setAccessibleName(QStringLiteral("Elenchi già convertiti"));
    lstFatti->setFixedHeight(lstFatti->fontMetrics().height() * 5);
    lstFatti->hide();

    cmdAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setAccessibleName(QStringLiteral("Annulla la conversione"));
    connect(cmdAnnulla, &QPushButton::clicked, this, &ConversionDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addWidget(prgAvanzamento);
    layout->addWidget(lblRighe);
    layout->addWidget(lstFatti);
    layout->addWidget(cmdAnnulla, 0, Qt::AlignRight);
    setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    showList(fileName, 1, 1);
    adjustSize();
}

void ConversionDialog::showList(const QString& fileName, int number, int count) {
    lblFile->setText(count == 1 ? QStringLiteral("Conversione di «%1» in corso…").arg(fileName)
                                : QStringLiteral("Conversione di «%1» in corso (%2 di %3)…")
                                      .arg(fileName)
                                      .arg(number)
                                      .arg(count));
    lblFile->setAccessibleName(QStringLiteral("Elenco in conversione: %1").arg(fileName));
    prgAvanzamento->setRange(0, kSteps);
    prgAvanzamento->setValue(0);
    showProgress(0, 0);
}

void ConversionDialog::showProgress(double fraction, quint64 rows) {
    if (fraction < 0) {
        prgAvanzamento->setRange(0, 0);
    } else {
        prgAvanzamento->setRange(0, kSteps);
        prgAvanzamento->setValue(static_cast<int>(fraction * kSteps));
    }
    const QString counted = QString::fromStdString(lists::groupedDigits(rows)) +
                            (rows == 1 ? QStringLiteral(" riga") : QStringLiteral(" righe"));
    if (counted != lblRighe->text()) {
        lblRighe->setText(counted);
        lblRighe->setAccessibleName(QStringLiteral("Righe convertite: %1").arg(counted));
    }
}

void ConversionDialog::addDone(const QString& line) {
    lstFatti->addItem(line);
    lstFatti->scrollToBottom();
    lstFatti->show();
}

void ConversionDialog::reject() {
    cmdAnnulla->setEnabled(false);
    cmdAnnulla->setText(QStringLiteral("Annullamento…"));
    emit cancelRequested();
}
