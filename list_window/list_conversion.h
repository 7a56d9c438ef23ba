#pragma once

#include "conversion_dialog.h"
#include "list_module.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

class MessageBoxes;
class QThread;
class QWidget;

namespace shell {
class Launcher;
}

// Converting a list from the main window: a dropped file, or one chosen with "Converti un
// elenco…". The conversion runs on a worker thread while a dialog shows its progress and the
// main window goes on (ticker, blink); then a box gives the summary and offers to open the
// output's folder. The output goes beside the list and never replaces a file: NAME-IBAN.csv,
// else NAME-IBAN (2).csv, (3) and so on. Failures are told in Italian message boxes.
class ListConversion : public QObject {
    Q_OBJECT
public:
    // Asks for the list to convert; an empty path when the user gives up.
    using FileChooser = std::function<QString(QWidget* owner)>;
    static FileChooser systemFileChooser();

    // Converts a list, on the worker thread.
    using Converter = std::function<lists::ListOutcome(const lists::ConversionRequest&,
                                                       const lists::ConversionHooks&)>;
    // The converter module (list_module.h), loaded from the first of `folders` that has it
    // when the first list is converted: the window starts without its libraries.
    static Converter moduleConverter(QStringList folders);

    ListConversion(MessageBoxes& messages, shell::Launcher& launcher, FileChooser chooseFile,
                   Converter converter);
    // Stops a conversion still running and waits for it: nothing is left half written.
    ~ListConversion() override;

    // Converts the lists one after another.
    void convert(QWidget* owner, const QStringList& paths);
    void chooseAndConvert(QWidget* owner);

    // The progress dialog while a conversion runs.
    ConversionDialog* dialog() const { return dialog_; }

signals:
    // A conversion has ended and what it had to say has been said.
    void done();

private:
    void start(const QString& path);
    void finish(const lists::ListOutcome& outcome);
    void report(const lists::Summary& summary);

    MessageBoxes& messages_;
    shell::Launcher& launcher_;
    FileChooser chooseFile_;
    Converter converter_;
    QPointer<QWidget> owner_;
    QPointer<ConversionDialog> dialog_;
    QStringList waiting_;
    QThread* worker_ = nullptr;
    std::atomic<bool> cancelled_{false};
};
