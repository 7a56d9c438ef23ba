#include "list_conversion.h"

#include "conversion_dialog.h"
#include "identity.h"
#include "launcher.h"
#include "message_boxes.h"
#include "module_loader.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QThread>

namespace {

QString title() {
    return QString::fromUtf8(identity::kApplicationTitle);
}

std::filesystem::path toPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

QString toText(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

QString columnsMessage(const lists::ListOutcome& outcome) {
    QString text = QString::fromStdString(outcome.error);
    if (!outcome.headers.empty()) {
        QStringList headers;
        for (const std::string& header : outcome.headers) {
            headers << QStringLiteral("«%1»").arg(QString::fromStdString(header));
        }
        text +=
            QStringLiteral("\n\nIntestazioni lette: %1.").arg(headers.join(QStringLiteral(", ")));
    }
    return text + QStringLiteral("\n\nChiama le colonne ABI, CAB e Conto, oppure IBAN, e riprova.");
}

} // namespace

ListConversion::FileChooser ListConversion::systemFileChooser() {
    return [](QWidget* owner) {
        return QFileDialog::getOpenFileName(
            owner, QStringLiteral("Converti un elenco"), QString(),
            QStringLiteral("Elenchi (*.csv *.tsv *.txt *.xlsx *.xlsm *.ods);;Tutti i file (*)"));
    };
}

ListConversion::Converter ListConversion::moduleConverter(QStringList folders) {
    return [folders](const lists::ConversionRequest& request, const lists::ConversionHooks& hooks) {
        QString error;
        const auto entry = reinterpret_cast<lists::ListEntry>(shell::resolveModuleSymbol(
            folders, QString::fromLatin1(lists::kListModule), lists::kListEntry, &error));
        lists::ListOutcome outcome;
        if (entry == nullptr) {
            outcome.error = QStringLiteral("Non trovo la parte del programma che converte gli "
                                           "elenchi (%1): reinstalla il programma.")
                                .arg(error)
                                .toStdString();
            return outcome;
        }
        entry(request, hooks, outcome);
        return outcome;
    };
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

void ListConversion::chooseAndConvert(QWidget* owner) {
    const QString path = worker_ == nullptr ? chooseFile_(owner) : QString();
    if (worker_ != nullptr || !path.isEmpty()) {
        convert(owner, {path});
    }
}

void ListConversion::convert(QWidget* owner, const QStringList& paths) {
    if (worker_ != nullptr) {
        messages_.show(owner, MessageBoxes::Icon::Warning, title(),
                       QStringLiteral("È già in corso la conversione di un elenco: attendi che "
                                      "finisca, oppure annullala."));
        return;
    }
    if (paths.isEmpty()) {
        return;
    }
    owner_ = owner;
    waiting_ = paths.mid(1);
    start(paths.front());
}

void ListConversion::start(const QString& path) {
    lists::ConversionRequest request;
    request.input = toPath(path);
    request.freeName = true;
    cancelled_ = false;

    dialog_ = new ConversionDialog(QFileInfo(path).fileName(), owner_);
    connect(dialog_, &ConversionDialog::cancelRequested, this, [this] { cancelled_ = true; });
    dialog_->show();

    worker_ = QThread::create([this, request] {
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
        const lists::ListOutcome outcome = converter_(request, hooks);
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    });
    worker_->start();
}

void ListConversion::finish(const lists::ListOutcome& outcome) {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    if (dialog_ != nullptr) {
        dialog_->hide();
        dialog_->deleteLater();
    }
    if (outcome.summary) {
        report(*outcome.summary);
    } else if (!outcome.cancelled) {
        messages_.show(owner_, MessageBoxes::Icon::Warning, title(),
                       outcome.columnsNotFound() ? columnsMessage(outcome)
                                                 : QString::fromStdString(outcome.error));
    }
    if (outcome.cancelled) {
        waiting_.clear();
    }
    if (!waiting_.isEmpty()) {
        start(waiting_.takeFirst());
        return;
    }
    emit done();
}

void ListConversion::report(const lists::Summary& summary) {
    const QFileInfo output(toText(summary.output));
    const QString text =
        QStringLiteral("L'elenco è convertito nel file «%1», nella cartella «%2».\n\n%3")
            .arg(output.fileName(), QDir::toNativeSeparators(output.absolutePath()),
                 QString::fromStdString(lists::summaryText(summary)));
    if (messages_.ask(owner_, MessageBoxes::Icon::Information, title(), text,
                      QStringLiteral("Apri la cartella"), QStringLiteral("Chiudi"))) {
        launcher_.releaseHandle(launcher_.ApriDocumento(output.absolutePath(), QString(), 0));
    }
}
