#include "list_conversion.h"

#include "identity.h"
#include "launcher.h"
#include "message_boxes.h"
#include "module_loader.h"
#include "number_text.h"
#include "results_dialog.h"

#include <QFileInfo>
#include <QThread>

namespace {

QString title() {
    return QString::fromUtf8(identity::kApplicationTitle);
}

std::filesystem::path toPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

QString count(std::uint64_t n) {
    return QString::fromStdString(lists::groupedDigits(n));
}

QString missingModule(const QString& error) {
    return QStringLiteral("Non trovo la parte del programma che converte gli elenchi (%1): "
                          "reinstalla il programma.")
        .arg(error);
}

// An entry point of the converter module; null, with the reason, when it cannot be loaded.
template <typename Entry>
Entry moduleEntry(const QStringList& folders, const char* symbol, QString* error) {
    return reinterpret_cast<Entry>(shell::resolveModuleSymbol(
        folders, QString::fromLatin1(lists::kListModule), symbol, error));
}

// An entry point of the converter module called with `args`; the outcome says why when the
// module cannot be loaded.
template <typename Entry, typename Outcome, typename... Args>
Outcome callModule(const QStringList& folders, const char* symbol, const Args&... args) {
    QString error;
    const auto entry = moduleEntry<Entry>(folders, symbol, &error);
    Outcome outcome;
    if (entry == nullptr) {
        outcome.error = missingModule(error).toStdString();
    } else {
        entry(args..., outcome);
    }
    return outcome;
}

// The line of the progress dialog for a list done.
QString doneLine(const ListResult& result) {
    const QString name = QFileInfo(result.input).fileName();
    if (!result.summary) {
        return QStringLiteral("%1: non convertito (%2)").arg(name, result.problem);
    }
    const lists::Summary& summary = *result.summary;
    return QStringLiteral("%1: %2 di dati, %3 OK, %4 con un motivo")
        .arg(name,
             count(summary.dataRows) +
                 (summary.dataRows == 1 ? QStringLiteral(" riga") : QStringLiteral(" righe")),
             count(summary.rowsOk), count(summary.rowsWithReason));
}

} // namespace

ListConversion::FileChooser ListConversion::systemFileChooser() {
    return chooseList;
}

ListConversion::Converter ListConversion::moduleConverter(QStringList folders) {
    Converter converter;
    converter.convert = [folders](const lists::ConversionRequest& request,
                                  const lists::ConversionHooks& hooks) {
        return callModule<lists::ListEntry, lists::ListOutcome>(folders, lists::kListEntry, request,
                                                                hooks);
    };
    converter.preview = [folders](const std::filesystem::path& input, const std::string& sheet) {
        return callModule<lists::PreviewEntry, lists::PreviewOutcome>(folders, lists::kPreviewEntry,
                                                                      input, sheet);
    };
    return converter;
}

ListConversion::ListConversion(MessageBoxes& messages, shell::Launcher& launcher,
                               FileChooser chooseFile, Converter converter)
    : messages_(messages), launcher_(launcher), chooseFile_(std::move(chooseFile)),
      converter_(std::move(converter)) {}

ListConversion::~ListConversion() {
    if (worker_ != nullptr) {
        cancelled_ = true;
        worker_->wait();
        delete worker_;
    }
}

bool ListConversion::busy(QWidget* owner) {
    if (!results_.empty()) {
        messages_.show(owner, MessageBoxes::Icon::Warning, title(),
                       QStringLiteral("È già in corso la conversione di un elenco: attendi che "
                                      "finisca, oppure annullala."));
        return true;
    }
    return false;
}

void ListConversion::chooseAndConvert(QWidget* owner) {
    if (busy(owner)) {
        return;
    }
    const ChosenList chosen = chooseFile_(owner);
    if (chosen.path.isEmpty()) {
        return;
    }
    Job job{chosen.path, {}};
    job.request.input = toPath(chosen.path);
    if (chosen.chooseColumns &&
        !askColumns(owner, job,
                    QStringLiteral("Indica in quali colonne di «%1» sono ABI, CAB e Conto, "
                                   "oppure IBAN.")
                        .arg(QFileInfo(chosen.path).fileName()))) {
        return;
    }
    begin(owner, {job});
}

void ListConversion::convert(QWidget* owner, const QStringList& paths) {
    if (paths.isEmpty() || busy(owner)) {
        return;
    }
    std::deque<Job> jobs;
    for (const QString& path : paths) {
        Job& job = jobs.emplace_back(Job{path, {}});
        job.request.input = toPath(path);
    }
    begin(owner, std::move(jobs));
}

void ListConversion::begin(QWidget* owner, std::deque<Job> jobs) {
    owner_ = owner;
    waiting_ = std::move(jobs);
    count_ = static_cast<int>(waiting_.size());
    results_.clear();
    dialog_ = new ConversionDialog(QFileInfo(waiting_.front().path).fileName(), owner);
    connect(dialog_, &ConversionDialog::cancelRequested, this, [this] { cancelled_ = true; });
    startNext();
}

void ListConversion::startNext() {
    if (waiting_.empty()) {
        end();
        return;
    }
    current_ = std::move(waiting_.front());
    waiting_.pop_front();
    auto& result = results_.emplace_back(std::make_unique<ListResult>());
    result->input = current_.path;
    start();
}

// Converts the current list; its output takes the first free name when it is put in place.
void ListConversion::start() {
    lists::ConversionRequest request = current_.request;
    request.freeName = true;
    ListResult& result = *results_.back();
    result.rows = ReasonRows();
    cancelled_ = false;
    dialog_->showList(QFileInfo(current_.path).fileName(), static_cast<int>(results_.size()),
                      count_);
    dialog_->show();

    worker_ = QThread::create([this, request, rows = &result.rows] {
        lists::ConversionHooks hooks;
        hooks.cancelled = &cancelled_;
        hooks.progress = [this](const lists::Progress& progress) {
            QMetaObject::invokeMethod(
                this,
                [this, progress] {
                    if (dialog_ != nullptr) {
                        dialog_->showProgress(progress.fraction, progress.rows);
                    }
                },
                Qt::QueuedConnection);
        };
        hooks.rowWithReason = [rows](const lists::ReasonRow& row) { rows->add(row); };
        const lists::ListOutcome outcome = converter_.convert(request, hooks);
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    });
    worker_->start();
}

void ListConversion::finish(const lists::ListOutcome& outcome) {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    ListResult& result = *results_.back();
    if (outcome.columnsNotFound()) {
        if (dialog_ != nullptr) {
            dialog_->hide();
        }
        if (askColumns(owner_, current_,
                       QString::fromStdString(outcome.error) +
                           QStringLiteral(" Indica qui in quali colonne sono."))) {
            start();
            return;
        }
        result.problem = QStringLiteral("le sue colonne non sono state indicate");
        result.stoppedByUser = true;
    } else if (outcome.summary) {
        result.summary = outcome.summary;
    } else if (outcome.cancelled) {
        result.problem = QStringLiteral("conversione annullata");
        result.stoppedByUser = true;
        // Annulla stops the lists still waiting too; each is listed as not converted.
        for (const Job& job : waiting_) {
            auto& skipped = results_.emplace_back(std::make_unique<ListResult>());
            skipped->input = job.path;
            skipped->problem = result.problem;
            skipped->stoppedByUser = true;
        }
        waiting_.clear();
    } else {
        result.problem = QString::fromStdString(outcome.error);
    }
    if (dialog_ != nullptr) {
        dialog_->addDone(doneLine(result));
    }
    startNext();
}

bool ListConversion::askColumns(QWidget* owner, Job& job, const QString& why) {
    ColumnDialog columns(job.request.input, why, converter_.preview, owner);
    if (!columns.load(job.request.sheet)) {
        messages_.show(owner, MessageBoxes::Icon::Warning, title(), columns.error());
        return false;
    }
    if (columns.exec() != QDialog::Accepted) {
        return false;
    }
    job.request.sheet = columns.sheet();
    job.request.columns = columns.columns();
    return true;
}

// One list that failed is told in a box; otherwise the results show every list. The progress
// dialog, with its line for each list, stays behind them until they close.
void ListConversion::end() {
    if (dialog_ != nullptr) {
        dialog_->hide();
    }
    const ListResult& first = *results_.front();
    if (results_.size() == 1 && !first.summary) {
        if (!first.stoppedByUser) {
            messages_.show(owner_, MessageBoxes::Icon::Warning, title(), first.problem);
        }
    } else {
        ResultsDialog results(results_, launcher_, owner_);
        results.exec();
    }
    if (dialog_ != nullptr) {
        dialog_->deleteLater();
    }
    results_.clear();
    owner_ = nullptr;
    emit done();
}
