#include "classic_numbers.h"

#include <clocale>

#ifdef _WIN32
#include <string>
#else
#include <locale.h>
#endif

namespace shell {

#ifdef _WIN32

// The thread gets a locale of its own, with C's numbers, and goes back to the shared one.
struct ClassicNumbers::Saved {
    int mode = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
};

ClassicNumbers::ClassicNumbers() : saved_(std::make_unique<Saved>()) {
    std::setlocale(LC_NUMERIC, "C");
}

ClassicNumbers::~ClassicNumbers() {
    std::setlocale(LC_NUMERIC, saved_->numeric.c_str());
    _configthreadlocale(saved_->mode);
}

#else

// The thread uses the C locale (POSIX uselocale), then its own again. The whole C locale, not a
// copy of the thread's with C's numbers: the C library keeps it ready-made, where a copy is
// built at each call (and glibc's newlocale then leaks the LOCPATH search path). Nothing that
// runs meanwhile depends on the locale's other parts.
struct ClassicNumbers::Saved {
    locale_t classic = nullptr;
    locale_t previous = nullptr;
};

ClassicNumbers::ClassicNumbers() : saved_(std::make_unique<Saved>()) {
    saved_->classic = newlocale(LC_ALL_MASK, "C", nullptr);
    if (saved_->classic != nullptr) {
        saved_->previous = uselocale(saved_->classic);
    }
}

ClassicNumbers::~ClassicNumbers() {
    if (saved_->classic != nullptr) {
        uselocale(saved_->previous);
        freelocale(saved_->classic);
    }
}

#endif

} // namespace shell
