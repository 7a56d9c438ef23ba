#include "system_reason.h"

#include <cerrno>

namespace lists {

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
    case EDQUOT:
        return "spazio disco dell'utente esaurito";
    case EPIPE:
        return "il programma che riceveva l'uscita si è chiuso";
    default:
        return "errore di sistema " + std::to_string(error);
    }
}

} // namespace lists
