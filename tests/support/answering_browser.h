#pragma once

#include "hidden_browser.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>

// Stands in for the windowless browser: records every address and answers each request with
// `outcome` once the event loop runs again, as the real one answers later; with `holdAnswers`
// set, it keeps the requests until the test answers them.
class AnsweringBrowser : public shell::HiddenBrowser {
public:
    void fetch(const QString& url, QObject* context,
               std::function<void(shell::FetchOutcome)> done) override;

    // Answers the oldest request held, unless its context is gone.
    void answer(shell::FetchOutcome outcome);
    int held() const { return int(held_.size()); }

    QStringList urls;
    shell::FetchOutcome outcome = shell::FetchOutcome::Answered;
    bool holdAnswers = false;

private:
    struct Request {
        QPointer<QObject> context;
        std::function<void(shell::FetchOutcome)> done;
    };
    QList<Request> held_;
};
