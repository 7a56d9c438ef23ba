// The launcher's plain logic on any target text: the web test, the launch request and the
// folder part must agree with what a reader of the rules would work out by hand.

#include "folder_part.h"
#include "launch_request.h"

#include "fuzz_support.h"

#include <QString>

namespace {

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Case-insensitive search for an ASCII needle. No character outside ASCII lower-cases to one of
// the needles' letters, so this must agree with a search in the fully lower-cased text.
bool containsAsciiIgnoringCase(const QString& text, const char16_t* needle, qsizetype length) {
    for (qsizetype start = 0; start + length <= text.size(); ++start) {
        qsizetype i = 0;
        while (i < length && asciiLower(text.at(start + i).unicode()) == needle[i])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

bool isSeparator(QChar c) {
    return c == QLatin1Char(':') || c == QLatin1Char('\\');
}

void checkFolderPart(const QString& path) {
    const QString folder = Module1::CartellaDelPercorso(path);
    check(folder.isEmpty() || path.startsWith(folder));
    if (path.isEmpty() || path.front() == QLatin1Char(':')) {
        check(folder.isEmpty());
        return;
    }
    // Otherwise the folder part ends at the path's last separator, or is empty if it has none.
    qsizetype last = path.size() - 1;
    while (last >= 0 && !isSeparator(path.at(last)))
        --last;
    check(folder.size() == last + 1);
}

void checkLaunchRequest(const QString& target, const QString& parameters, std::int16_t hidden) {
    const bool web = containsAsciiIgnoringCase(target, u"www.", 4) ||
                     containsAsciiIgnoringCase(target, u"http:", 5);
    check(shell::isWebAddress(target) == web);

    const std::optional<shell::LaunchRequest> request =
        shell::buildLaunchRequest(target, parameters, hidden);
    if (target.isEmpty()) {
        check(!request.has_value());
        return;
    }
    check(request.has_value());
    check(request->fMask == shell::kSeeMaskNoCloseProcess);
    check(request->lpVerb == QLatin1String("open"));
    check(request->nShow == (hidden != 0 ? shell::kSwHide : shell::kSwShowNormal));
    if (web) {
        check(request->lpFile == shell::kBrowserProgram);
        check(request->lpParameters == target);
        check(request->lpDirectory.isEmpty());
    } else {
        check(request->lpFile == target);
        check(request->lpParameters == parameters);
        check(request->lpDirectory == Module1::CartellaDelPercorso(target));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const QString target = textFrom(data);
    const QString parameters = textFrom(data);
    const auto hidden = data.ConsumeIntegral<std::int16_t>();
    checkFolderPart(target);
    checkLaunchRequest(target, parameters, hidden);
    return 0;
}
