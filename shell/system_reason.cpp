#include "system_reason.h"

#include <cerrno>

namespace shell {

std::string systemReason(int error) {
    switch (error) {
    case ENOENT:
        return "il file o la cartella non esiste";
    case EACCES:
    case EPERM:
        return "permesso negato";
    case ENOSPC:
        return "il disco è pieno";
    case EROFS:
        return "il disco è di sola lettura";
    case EISDIR:
        return "è una cartella";
    case ENOTDIR:
        return "una parte del percorso non è una cartella";
    case EIO:
        return "errore del dispositivo";
    case ENAMETOOLONG:
        return "nome troppo lungo";
    case EMFILE:
    case ENFILE:
        return "troppi file aperti";
#ifdef EDQUOT // not on Windows
    case EDQUOT:
        return "spazio disco dell'utente esaurito";
#endif
    case EPIPE:
        return "il programma che riceveva l'uscita si è chiuso";
    default:
        return "errore di sistema " + std::to_string(error);
    }
}

std::string systemReason(const std::error_code& error) {
    // On Windows the error is the system's own number; its condition may name an errno value.
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category()) {
        return systemReason(condition.value());
    }
    return "errore di sistema " + std::to_string(error.value());
}

} // namespace shell
