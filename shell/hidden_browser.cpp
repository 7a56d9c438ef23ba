#include "hidden_browser.h"

#include "helper_program.h"

#include <QProcess>

#include <utility>

namespace shell {

namespace {

// One run of the browser for a request, owned by the request's context: destroyed with it, it
// ends the browser at once and tells nobody.
class BrowserRun : public QProcess {
public:
    using QProcess::QProcess;
    ~BrowserRun() override {
        disconnect();
        if (state() != NotRunning) {
            kill();
            waitForFinished();
        }
    }
};

// Runs bviban-browser as a child process for each request and reads the outcome from its exit
// status, through the event loop: the caller never blocks.
class BrowserProcess : public HiddenBrowser {
public:
    explicit BrowserProcess(QString program) : program_(std::move(program)) {}

    void fetch(const QString& url, QObject* context,
               std::function<void(FetchOutcome)> done) override {
        auto* process = new BrowserRun(context);
        process->setProgram(program_);
        process->setArguments({url});
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process,
                         [process, done](int status, QProcess::ExitStatus how) {
                             process->deleteLater();
                             done(how == QProcess::NormalExit ? outcomeOfBrowserExit(status)
                                                              : FetchOutcome::NoAnswer);
                         });
        QObject::connect(process, &QProcess::errorOccurred, process,
                         [process, done](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart) {
                                 process->deleteLater();
                                 done(FetchOutcome::NotSent);
                             }
                         });
        process->start();
    }

private:
    QString program_;
};

} // namespace

FetchOutcome outcomeOfBrowserExit(int status) {
    switch (status) {
    case kBrowserAnswered:
        return FetchOutcome::Answered;
    case kBrowserRefused:
        return FetchOutcome::Refused;
    case kBrowserNoConnection:
        return FetchOutcome::NoConnection;
    case kBrowserUsage:
        return FetchOutcome::NotSent;
    default:
        return FetchOutcome::NoAnswer;
    }
}

std::unique_ptr<HiddenBrowser> createHiddenBrowser() {
    return hiddenBrowserAt(helperProgram(QStringLiteral("bviban-browser")));
}

std::unique_ptr<HiddenBrowser> hiddenBrowserAt(const QString& program) {
    return std::make_unique<BrowserProcess>(program);
}

} // namespace shell
