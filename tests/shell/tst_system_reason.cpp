// System errors as the user reads them: every error that the calls of the command-line program
// and the list converter can give (as their manual pages list them) has a reason in Italian of
// its own, never the bare number.

#include "system_reason.h"

#include <QTest>

#include <cerrno>

namespace {

// Windows's C library has no EDQUOT: there an exceeded quota is a full disk.
#ifdef EDQUOT
constexpr int kQuotaExceeded = EDQUOT;
#else
constexpr int kQuotaExceeded = ENOSPC;
#endif

} // namespace

class TestSystemReason : public QObject {
    Q_OBJECT

private slots:
    void ogniErroreHaUnMotivo_data();
    void ogniErroreHaUnMotivo();
};

void TestSystemReason::ogniErroreHaUnMotivo_data() {
    QTest::addColumn<int>("errore");

    const struct {
        const char* chiamata;
        std::initializer_list<int> errori;
    } kChiamate[] = {
        {"read", {EAGAIN, EBADF, EFAULT, EINTR, EINVAL, EIO, EISDIR}},
        {"write",
         {EAGAIN, EBADF, kQuotaExceeded, EFAULT, EFBIG, EINTR, EINVAL, EIO, ENOSPC, EPERM, EPIPE}},
        {"open",
         {EACCES, EBUSY,      kQuotaExceeded, EEXIST, EFAULT, EFBIG,   EINTR,      EINVAL, EISDIR,
          ELOOP,  EMFILE,     ENAMETOOLONG,   ENFILE, ENODEV, ENOENT,  ENOMEM,     ENOSPC, ENOTDIR,
          ENXIO,  EOPNOTSUPP, EOVERFLOW,      EPERM,  EROFS,  ETXTBSY, EWOULDBLOCK}},
        {"rename, link",
         {EACCES, EBUSY, kQuotaExceeded, EEXIST, EINVAL, EISDIR, ELOOP, EMLINK, ENOENT, ENOMEM,
          ENOSPC, ENOTDIR, ENOTEMPTY, EPERM, EROFS, EXDEV}},
        {"close, fsync", {EBADF, EINTR, EIO, ENOSPC, kQuotaExceeded, EROFS, EINVAL}},
        {"lseek, fstat", {EBADF, EINVAL, EOVERFLOW, ESPIPE}},
        {"a socket or device as a stream", {ECONNRESET, ENOTCONN, ETIMEDOUT, ENOBUFS, ENXIO}},
    };
    for (const auto& chiamata : kChiamate) {
        for (const int errore : chiamata.errori) {
            QTest::addRow("%s: %d", chiamata.chiamata, errore) << errore;
        }
    }
}

void TestSystemReason::ogniErroreHaUnMotivo() {
    QFETCH(int, errore);
    const QString motivo = QString::fromStdString(shell::systemReason(errore));
    QVERIFY2(!motivo.startsWith(QStringLiteral("errore di sistema")), qPrintable(motivo));
    QVERIFY(!motivo.isEmpty());
}

QTEST_APPLESS_MAIN(TestSystemReason)
#include "tst_system_reason.moc"
