#pragma once

#include <QString>

#include <functional>
#include <memory>

class QObject;

namespace shell {

// How a request of the windowless browser ended.
enum class FetchOutcome {
    Answered,     // the server answered
    Refused,      // the server answered with an error (a status of 400 or more)
    NoAnswer,     // the server did not answer in time, or closed the connection unanswered
    NoConnection, // no way to the server: no network, an unknown host, a refused connection
    NotSent,      // the windowless browser could not be started, or refused the address
};

// Fetches web addresses without a window, in a program of its own, so that the caller need
// not wait: `done` runs later on the caller's thread with how the request ended, at the latest
// when the browser's own time limit runs out. If `context` is destroyed first, the request is
// given up and `done` never runs. Windows receive it through their constructors.
class HiddenBrowser {
public:
    virtual ~HiddenBrowser() = default;
    virtual void fetch(const QString& url, QObject* context,
                       std::function<void(FetchOutcome)> done) = 0;
};

// The windowless browser that ships with the program, bviban-browser, found where the
// program's helpers are; or the one at `program`.
std::unique_ptr<HiddenBrowser> createHiddenBrowser();
std::unique_ptr<HiddenBrowser> hiddenBrowserAt(const QString& program);

// The exit statuses of bviban-browser, and the outcome each one tells.
inline constexpr int kBrowserAnswered = 0;
inline constexpr int kBrowserNoConnection = 1;
inline constexpr int kBrowserUsage = 2;
inline constexpr int kBrowserNoAnswer = 3;
inline constexpr int kBrowserRefused = 4;
FetchOutcome outcomeOfBrowserExit(int status);

} // namespace shell
