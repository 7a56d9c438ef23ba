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

// The thread uses a copy of its locale with C's numbers (POSIX uselocale), then its own again.
struct ClassicNumbers::Saved {
    locale_t classic = nullptr;
    locale_t previous = nullptr;
};

ClassicNumbers::ClassicNumbers() : saved_(std::make_unique<Saved>()) {
    const locale_t copy = duplocale(uselocale(nullptr));
    if (copy == nullptr) {
        return;
    }
    saved_->classic = newlocale(LC_NUMERIC_MASK, "C", copy);
    if (saved_->classic == nullptr) {
        freelocale(copy);
        return;
    }
    saved_->previous = uselocale(saved_->classic);
}

ClassicNumbers::~ClassicNumbers() {
    if (saved_->classic != nullptr) {
        uselocale(saved_->previous);
        freelocale(saved_->classic);
    }
}

#endif

} // namespace shell
