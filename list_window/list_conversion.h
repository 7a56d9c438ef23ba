#pragma once

#include "column_dialog.h"
#include "conversion_dialog.h"
#include "list_file_chooser.h"
#include "list_module.h"
#include "list_result.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class MessageBoxes;
class QThread;
class QWidget;

namespace shell {
class Launcher;
}

// Converting lists from the main window: dropped files, files given on the command line, or
// one chosen with "Converti un elenco…". The conversions run one after another on a worker
// thread while a dialog shows their progress and the main window goes on (ticker, blink).
// When a list's columns are not found, the user is asked for them. Then the results tell what
// became of each list, with the rows that got a reason. The output goes beside the list and
// never replaces a file: NAME-IBAN.csv, else NAME-IBAN (2).csv, (3) and so on. Failures are
// told in Italian.
class ListConversion : public QObject {
    Q_OBJECT
public:
    // Asks for the list to convert; an empty path when the user gives up.
    using FileChooser = std::function<ChosenList(QWidget* owner)>;
    static FileChooser systemFileChooser();

    // The converter's entry points, run on the worker thread and on the window's.
    struct Converter {
        std::function<lists::ListOutcome(const lists::ConversionRequest&,
                                         const lists::ConversionHooks&)>
            convert;
        ColumnDialog::Previewer preview;
    };
    // The converter module (list_module.h), loaded from the first of `folders` that has it
    // when it is first needed: the window starts without its libraries.
    static Converter moduleConverter(QStringList folders);

    ListConversion(MessageBoxes& messages, shell::Launcher& launcher, FileChooser chooseFile,
                   Converter converter);
    // Stops a conversion still running and waits for it: nothing is left half written.
    ~ListConversion() override;

    // Converts the lists one after another.
    void convert(QWidget* owner, const QStringList& paths);
    void chooseAndConvert(QWidget* owner);

    // The progress dialog while conversions run.
    ConversionDialog* dialog() const { return dialog_; }

signals:
    // The conversions have ended and what they had to say has been said.
    void done();

private:
    struct Job {
        QString path;
        lists::ConversionRequest request;
    };

    bool busy(QWidget* owner);
    void begin(QWidget* owner, std::deque<Job> jobs);
    void startNext();
    void start();
    void finish(const lists::ListOutcome& outcome);
    // Asks for the list's sheet and columns, into its request; false when the user gives up.
    bool askColumns(QWidget* owner, Job& job, const QString& why);
    void end();

    MessageBoxes& messages_;
    shell::Launcher& launcher_;
    FileChooser chooseFile_;
    Converter converter_;
    QPointer<QWidget> owner_;
    QPointer<ConversionDialog> dialog_;
    QThread* worker_ = nullptr;
    std::atomic<bool> cancelled_{false};
    std::deque<Job> waiting_;
    Job current_;
    int count_ = 0;
    std::vector<std::unique_ptr<ListResult>> results_;
};
