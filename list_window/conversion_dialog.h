#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// "Conversione dell'elenco": how far the conversion has come, in percent and rows, and
// "Annulla". Cancelling (also with Escape or the close button) only asks: the dialog stays,
// saying so, until the conversion has stopped and whoever runs it closes the dialog.
class ConversionDialog : public QDialog {
    Q_OBJECT
public:
    ConversionDialog(const QString& fileName, QWidget* parent);

    // `fraction` from 0 to 1, negative when unknown (the bar then only shows activity).
    void showProgress(double fraction, quint64 rows);

signals:
    void cancelRequested();

protected:
    void reject() override;

private:
    QLabel* lblFile;
    QProgressBar* prgAvanzamento;
    QLabel* lblRighe;
    QPushButton* cmdAnnulla;
};
