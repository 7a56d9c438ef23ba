#pragma once

#include <memory>

namespace shell {

// While it lives, the C library reads and writes numbers on the calling thread as the C locale
// does ("12.5"), whatever locale the program runs in: a program using Qt takes the user's
// (Italian: "12,5"), and file formats such as .xlsx want the point. Other threads are left
// alone; on POSIX systems the thread's whole locale is C's meanwhile. Free of Qt.
class ClassicNumbers {
public:
    ClassicNumbers();
    ~ClassicNumbers();
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    struct Saved; // what to restore, as each platform keeps it
    std::unique_ptr<Saved> saved_;
};

} // namespace shell
