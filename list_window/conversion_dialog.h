#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// "Conversione dell'elenco": which list is being converted, how far it has come, in percent
// and rows, and "Annulla"; with several lists, one line for each list done. Screen readers hear
// the list's name and the rows in the labels' names. Cancelling (also with Escape or the close
// button) only asks: the dialog stays, saying so, until the conversion has stopped and whoever
// runs it closes the dialog.
class ConversionDialog : public QDialog {
    Q_OBJECT
public:
    ConversionDialog(const QString& fileName, QWidget* parent);

    // The next list, the `number`th of `count`.
    void showList(const QString& fileName, int number, int count);
    // `fraction` from 0 to 1, negative when unknown (the bar then only shows activity).
    void showProgress(double fraction, quint64 rows);
    // A line for a list done: its name and its counts, or why it was not converted.
    void addDone(const QString& line);

signals:
    void cancelRequested();

protected:
    void reject() override;

private:
    QLabel* lblFile;
    QProgressBar* prgAvanzamento;
    QLabel* lblRighe;
    QListWidget* lstFatti;
    QPushButton* cmdAnnulla;
};
