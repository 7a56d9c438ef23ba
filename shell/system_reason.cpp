#include "system_reason.h"

#include <cerrno>

namespace shell {
namespace {

struct Reason {
    int error;
    const char* text;
};

// Every error that opening, reading, writing, renaming, linking, closing and syncing files,
// pipes and terminals can give, and a few more that the standard streams meet when they are
// sockets or devices. The numbers beyond ISO C's few are POSIX's, which some systems lack.
constexpr Reason kReasons[] = {
    {ENOENT, "il file o la cartella non esiste"},
    {EACCES, "permesso negato"},
    {EPERM, "operazione non permessa"},
    {ENOSPC, "il disco è pieno"},
    {EROFS, "il disco è di sola lettura"},
    {EISDIR, "è una cartella"},
    {ENOTDIR, "una parte del percorso non è una cartella"},
    {EIO, "errore del dispositivo"},
    {ENAMETOOLONG, "nome troppo lungo"},
    {EMFILE, "troppi file aperti"},
    {ENFILE, "troppi file aperti"},
    {EPIPE, "il programma che riceveva l'uscita si è chiuso"},
    {EBADF, "il file non è aperto per questa operazione"},
    {EAGAIN, "risorsa momentaneamente non disponibile"},
    {ENOMEM, "memoria insufficiente"},
    {EBUSY, "il file o il dispositivo è in uso"},
    {EEXIST, "il file esiste già"},
    {EXDEV, "origine e destinazione sono su dischi diversi"},
    {ENODEV, "il dispositivo non permette questa operazione"},
    {ENXIO, "il dispositivo non esiste o non è collegato"},
    {EINVAL, "operazione non valida per questo file"},
    {ENOTTY, "operazione non adatta a questo tipo di file"},
    {EFBIG, "il file è troppo grande"},
    {ESPIPE, "non ci si può spostare in un flusso"},
    {EMLINK, "troppi collegamenti al file"},
    {EFAULT, "indirizzo di memoria non valido"},
    {E2BIG, "elenco di argomenti troppo lungo"},
    {ENOEXEC, "il file non è un programma eseguibile"},
    {ECHILD, "nessun processo da attendere"},
    {EDOM, "valore fuori dal dominio della funzione"},
    {ERANGE, "valore fuori dall'intervallo ammesso"},
    {EDEADLK, "il blocco del file causerebbe uno stallo"},
    {ENOLCK, "nessun blocco disponibile per il file"},
    {ENOSYS, "funzione non disponibile su questo sistema"},
    {ENOTEMPTY, "la cartella non è vuota"},
    {EILSEQ, "sequenza di caratteri non valida"},
    {EINTR, "operazione interrotta"},
#ifdef EDQUOT
    {EDQUOT, "spazio disco dell'utente esaurito"},
#endif
#ifdef EWOULDBLOCK
    {EWOULDBLOCK, "risorsa momentaneamente non disponibile"},
#endif
#ifdef ETXTBSY
    {ETXTBSY, "il file è un programma in esecuzione"},
#endif
#ifdef ELOOP
    {ELOOP, "troppi collegamenti simbolici nel percorso"},
#endif
#ifdef EOVERFLOW
    {EOVERFLOW, "il file è troppo grande per questa operazione"},
#endif
#ifdef ENOTSUP
    {ENOTSUP, "operazione non supportata"},
#endif
#ifdef EOPNOTSUPP
    {EOPNOTSUPP, "operazione non supportata"},
#endif
#ifdef ECANCELED
    {ECANCELED, "operazione annullata"},
#endif
#ifdef ETIMEDOUT
    {ETIMEDOUT, "tempo di attesa scaduto"},
#endif
#ifdef ECONNRESET
    {ECONNRESET, "la connessione è stata interrotta dall'altra parte"},
#endif
#ifdef ECONNREFUSED
    {ECONNREFUSED, "connessione rifiutata"},
#endif
#ifdef ECONNABORTED
    {ECONNABORTED, "connessione interrotta"},
#endif
#ifdef ENOTCONN
    {ENOTCONN, "nessuna connessione"},
#endif
#ifdef ENETDOWN
    {ENETDOWN, "la rete non è attiva"},
#endif
#ifdef ENETUNREACH
    {ENETUNREACH, "rete non raggiungibile"},
#endif
#ifdef EHOSTUNREACH
    {EHOSTUNREACH, "computer non raggiungibile"},
#endif
#ifdef ENOBUFS
    {ENOBUFS, "memoria insufficiente per la comunicazione"},
#endif
#ifdef ESTALE
    {ESTALE, "il file sul disco di rete non è più disponibile"},
#endif
#ifdef ENOMEDIUM
    {ENOMEDIUM, "nessun disco nell'unità"},
#endif
#ifdef EREMOTEIO
    {EREMOTEIO, "errore del dispositivo remoto"},
#endif
#ifdef ENOTBLK
    {ENOTBLK, "serve un dispositivo a blocchi"},
#endif
#ifdef ENOKEY
    {ENOKEY, "manca la chiave per leggere il file cifrato"},
#endif
};

} // namespace

std::string systemReason(int error) {
    for (const Reason& reason : kReasons) {
        if (reason.error == error) {
            return reason.text;
        }
    }
    return "errore di sistema " + std::to_string(error);
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
