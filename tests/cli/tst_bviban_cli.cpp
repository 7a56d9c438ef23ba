// The real bviban-cli, run as a user runs it: arguments, standard input, exit status, and what
// it writes on standard output and standard error.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

const QString kProgramma = QStringLiteral(BVIBAN_CLI);

template <typename... Valori> void riga(const char* nome, const Valori&... valori) {
    (QTest::newRow(nome) << ... << valori);
}

struct Esecuzione {
    int stato = -1;
    QByteArray uscita;
    QByteArray errori;
};

// The input comes through a pipe, or from a file when `daFile`.
Esecuzione esegui(const QStringList& argomenti, const QByteArray& ingresso = QByteArray(),
                  bool daFile = false) {
    QProcess processo;
    QTemporaryFile file;
    if (daFile) {
        if (!file.open() || file.write(ingresso) != ingresso.size() || !file.flush()) {
            return {};
        }
        processo.setStandardInputFile(file.fileName());
    }
    processo.start(kProgramma, argomenti);
    if (!daFile) {
        processo.write(ingresso);
    }
    processo.closeWriteChannel();
    processo.waitForFinished(60000);
    return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
            processo.readAllStandardOutput(), processo.readAllStandardError()};
}

// VmHWM of a running process, in KiB: the most memory it has held so far.
qint64 piccoDiMemoria(qint64 pid) {
    QFile stato(QStringLiteral("/proc/%1/status").arg(pid));
    if (!stato.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QRegularExpression riga(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    return riga.match(QString::fromLatin1(stato.readAll())).captured(1).toLongLong();
}

// Reads from the process until `righe` lines have come, or fails.
bool attendiRighe(QProcess& processo, QByteArray& letto, int righe) {
    while (letto.count('\n') < righe) {
        if (!processo.waitForReadyRead(30000)) {
            return false;
        }
        letto += processo.readAllStandardOutput();
    }
    return true;
}

const QByteArray kEsempio = "IT60X0542811101000000123456";

// How a standard stream is made to fail.
enum class Flusso { UscitaPiena, UscitaChiusa, IngressoCartella, IngressoChiuso };

} // namespace

Q_DECLARE_METATYPE(Flusso)

class TestBvibanCli : public QObject {
    Q_OBJECT

private slots:
    void statiEdUscite_data();
    void statiEdUscite();
    void aiuto();
    void json();
    void flussoGrande();
    void rigaTroppoLunga_data();
    void rigaTroppoLunga();
    void erroriDiLetturaEScrittura_data();
    void erroriDiLetturaEScrittura();
    void tuboChiuso_data();
    void tuboChiuso();
};

void TestBvibanCli::statiEdUscite_data() {
    QTest::addColumn<QStringList>("argomenti");
    QTest::addColumn<QByteArray>("ingresso");
    QTest::addColumn<int>("stato");
    QTest::addColumn<QByteArray>("uscita");
    QTest::addColumn<QByteArray>("errori");

    const QByteArray niente;
    const QByteArray aiuto = "Per l'aiuto: bviban-cli --help\n";
    riga("version", QStringList{"--version"}, niente, 0, QByteArray("bviban-cli 1.0.0.25\n"),
         niente);
    riga("calcola", QStringList{"calcola", "5428", "11101", "123456"}, niente, 0, kEsempio + '\n',
         niente);
    riga("calcola, lower case and separators", QStringList{"calcola", "1234", "987", "ab-12 345"},
         niente, 0, QByteArray("IT65D012340098700000AB12345\n"), niente);
    riga("calcola, account after --", QStringList{"calcola", "--", "12345", "67890", "-87"}, niente,
         0, QByteArray("IT98F1234567890000000000087\n"), niente);
    // An account may begin with "-": the refusal says how to give it.
    riga("calcola, account like an option", QStringList{"calcola", "1234", "987", "-12345"}, niente,
         2, niente,
         "bviban-cli: calcola: opzione sconosciuta «-12345». Un dato che comincia con «-» va dopo "
         "--, che chiude le opzioni: bviban-cli calcola -- 1234 987 -12345\n" +
             aiuto);
    riga("calcola, empty account", QStringList{"calcola", "5428", "11101", ""}, niente, 1, niente,
         QByteArray("Compilare ABI, CAB e Nr. del CONTO.\n"));
    // As pasted into the fields: the spaces around each value go, so spaces alone are empty.
    riga("calcola, spaces around", QStringList{"calcola", " 5428 ", " 11101", "123456  "}, niente,
         0, kEsempio + '\n', niente);
    riga("calcola, account of spaces", QStringList{"calcola", "5428", "11101", "   "}, niente, 1,
         niente, QByteArray("Compilare ABI, CAB e Nr. del CONTO.\n"));
    riga("calcola, sharp s adds no letters", QStringList{"calcola", "12345", "67890", "\u00DF"},
         niente, 0, QByteArray("IT26G1234567890000000000000\n"), niente);
    riga("calcola, ABI too long", QStringList{"calcola", "123456", "11101", "1"}, niente, 1, niente,
         QByteArray("Il codice ABI deve essere composto al massimo da 5 cifre.\n"));
    riga("calcola, account too long", QStringList{"calcola", "1", "2", "ABCDEFGHIJKLM"}, niente, 1,
         niente,
         QByteArray("Il numero del conto deve essere composto al massimo da 12 lettere e cifre; "
                    "segni e spazi non contano.\n"));
    riga("calcola, two arguments", QStringList{"calcola", "1", "2"}, niente, 2, niente,
         "bviban-cli: calcola vuole tre argomenti: ABI, CAB e numero di conto.\n" + aiuto);
    riga("no command", QStringList{}, niente, 2, niente,
         "bviban-cli: manca il comando (calcola, verifica, ...).\n" + aiuto);
    riga("unknown command", QStringList{"controlla"}, niente, 2, niente,
         "bviban-cli: comando sconosciuto «controlla».\n" + aiuto);
    riga("unknown option", QStringList{"verifica", "--xml"}, niente, 2, niente,
         "bviban-cli: verifica: opzione sconosciuta «--xml». Un dato che comincia con «-» va "
         "dopo --, che chiude le opzioni.\n" +
             aiuto);
    riga("verifica, all valid",
         QStringList{"verifica", "IT60 X054 2811 1010 0000 0123 456", "DE89370400440532013000"},
         niente, 0,
         kEsempio +
             "\tvalido\tIT 60 X 05428 11101 000000123456\n"
             "DE89370400440532013000\tvalido\tControllati lunghezza, formato e cifre di "
             "controllo; gli eventuali controlli nazionali degli IBAN tedeschi (DE) non sono "
             "stati fatti.\n",
         niente);
    riga("verifica, one invalid", QStringList{"verifica", kEsempio, "IT61X0542811101000000123456"},
         niente, 1,
         kEsempio +
             "\tvalido\tIT 60 X 05428 11101 000000123456\n"
             "IT61X0542811101000000123456\tnon valido\tLe cifre di controllo sono 61, ma "
             "dovrebbero essere 60.\tforse: " +
             kEsempio + "\n",
         niente);
    // One result per line, in order: CR LF ends, an empty line, refused ones, no final LF. What
    // is invisible or changes how the line shows (a C1 control, a bidirectional mark) is
    // repeated as U+FFFD and named by its code.
    riga("verifica, standard input", QStringList{"verifica"},
         QByteArray("IT60X0542811101000000123456\r\n\nIT60\tX054#\nIT60\u009BX054\n"
                    "\u061CIT60\nSM86U0322509800000000270100"),
         1,
         kEsempio + "\tvalido\tIT 60 X 05428 11101 000000123456\n"
                    "\tvuoto\tNessun IBAN da verificare: il testo è vuoto.\n"
                    "IT60\xEF\xBF\xBDX054#\tnon valido\tIl carattere «#» in posizione 10 non può "
                    "stare in un IBAN.\n"
                    "IT60\xEF\xBF\xBDX054\tnon valido\tIl carattere U+009B in posizione 5 non può "
                    "stare in un IBAN.\n"
                    "\xEF\xBF\xBDIT60\tnon valido\tIl carattere U+061C in posizione 1 non può "
                    "stare in un IBAN.\n"
                    "SM86U0322509800000000270100\tvalido\tSM 86 U 03225 09800 000000270100\n",
         niente);
    riga("verifica, an empty line is not valid", QStringList{"verifica"}, kEsempio + "\n\n", 1,
         kEsempio + "\tvalido\tIT 60 X 05428 11101 000000123456\n"
                    "\tvuoto\tNessun IBAN da verificare: il testo è vuoto.\n",
         niente);
    riga("verifica, operand after --", QStringList{"verifica", "--", "-IT60"}, niente, 1,
         QByteArray("-IT60\tnon valido\tIl trattino in posizione 1 non sta tra due gruppi di "
                    "caratteri.\n"),
         niente);
}

void TestBvibanCli::statiEdUscite() {
    QFETCH(QStringList, argomenti);
    QFETCH(QByteArray, ingresso);
    QFETCH(int, stato);
    QFETCH(QByteArray, uscita);
    QFETCH(QByteArray, errori);

    const Esecuzione e = esegui(argomenti, ingresso);
    QCOMPARE(e.uscita, uscita);
    QCOMPARE(e.errori, errori);
    QCOMPARE(e.stato, stato);
}

// --help lists every subcommand with its syntax; after a subcommand it shows that one alone.
void TestBvibanCli::aiuto() {
    const Esecuzione generale = esegui({QStringLiteral("--help")});
    QCOMPARE(generale.stato, 0);
    QVERIFY(generale.uscita.startsWith("Uso: bviban-cli COMANDO [ARGOMENTI...]\n"));
    for (const char* testo : {"\n  calcola ABI CAB CONTO\n", "\n  verifica [--json] [IBAN...]\n",
                              "\n  -V, --version ", "\nStato d'uscita:\n",
                              "\n  1  almeno una riga non valida o vuota, o un calcolo "
                              "rifiutato\n"}) {
        QVERIFY2(generale.uscita.contains(testo), testo);
    }
    const Esecuzione comando = esegui({QStringLiteral("verifica"), QStringLiteral("-h")});
    QCOMPARE(comando.stato, 0);
    QVERIFY(comando.uscita.startsWith("Uso: bviban-cli verifica [--json] [IBAN...]\n      "));
    QVERIFY(!comando.uscita.contains("calcola"));
}

// --json: one object per input, every key present, values of the right kind; the input comes
// back as given, with what is not UTF-8 replaced.
void TestBvibanCli::json() {
    const QByteArray ingresso = "iban: it60 x054 2811 1010 0000 0123 456\n"
                                "IT65A0542811101000000123456\n"
                                "IT61X0542811101000000123456\n"
                                "\"IT\"\\\x01\xFF\u061C\n"
                                "GB29NWBK60161331926819\n";
    const Esecuzione e = esegui({QStringLiteral("verifica"), QStringLiteral("--json")}, ingresso);
    QCOMPARE(e.stato, 1);
    QCOMPARE(e.errori, QByteArray());
    const QList<QByteArray> righe = e.uscita.split('\n');
    QCOMPARE(righe.size(), 6);
    QVERIFY(righe.last().isEmpty());

    QList<QJsonObject> oggetti;
    for (int i = 0; i < 5; ++i) {
        QJsonParseError errore;
        const QJsonDocument documento = QJsonDocument::fromJson(righe[i], &errore);
        QVERIFY2(errore.error == QJsonParseError::NoError, righe[i].constData());
        QVERIFY(documento.isObject());
        oggetti << documento.object();
        for (const char* chiave : {"input", "iban", "valido", "motivo", "paese", "abi", "cab",
                                   "conto", "cin", "cartaceo", "suggerimenti"}) {
            QVERIFY2(oggetti.last().contains(QLatin1String(chiave)), chiave);
        }
        QVERIFY(oggetti.last()[QStringLiteral("suggerimenti")].isArray());
    }

    const QJsonObject valido = oggetti[0];
    QCOMPARE(valido["input"].toString(), QStringLiteral("iban: it60 x054 2811 1010 0000 0123 456"));
    QCOMPARE(valido["iban"].toString(), QString::fromLatin1(kEsempio));
    QCOMPARE(valido["valido"].toBool(), true);
    QVERIFY(valido["motivo"].isNull());
    QCOMPARE(valido["paese"].toString(), QStringLiteral("IT"));
    QCOMPARE(valido["abi"].toString(), QStringLiteral("05428"));
    QCOMPARE(valido["cab"].toString(), QStringLiteral("11101"));
    QCOMPARE(valido["conto"].toString(), QStringLiteral("000000123456"));
    QCOMPARE(valido["cin"].toString(), QStringLiteral("X"));
    QCOMPARE(valido["cartaceo"].toString(), QStringLiteral("IT60 X054 2811 1010 0000 0123 456"));
    QCOMPARE(valido["suggerimenti"].toArray().size(), 0);

    const QJsonObject cinSbagliato = oggetti[1];
    QCOMPARE(cinSbagliato["valido"].toBool(), false);
    QVERIFY(cinSbagliato["motivo"].toString().startsWith(
        QStringLiteral("Il CIN A non torna con ABI, CAB e conto")));
    QCOMPARE(cinSbagliato["cin"].toString(), QStringLiteral("A"));

    const QJsonObject suggerito = oggetti[2];
    QCOMPARE(suggerito["suggerimenti"].toArray(), QJsonArray{QString::fromLatin1(kEsempio)});

    const QJsonObject rifiutato = oggetti[3];
    // Kept exactly, the bidirectional mark escaped rather than written as it is.
    QCOMPARE(rifiutato["input"].toString(), QStringLiteral("\"IT\"\\\u0001\uFFFD\u061C"));
    QVERIFY(righe[3].contains(R"(\u061c")"));
    QVERIFY(rifiutato["iban"].isNull());
    QVERIFY(rifiutato["paese"].isNull());
    QVERIFY(rifiutato["cartaceo"].isNull());
    QCOMPARE(rifiutato["motivo"].toString(),
             QStringLiteral("Il carattere «\"» in posizione 1 non può stare in un IBAN."));

    const QJsonObject estero = oggetti[4];
    QCOMPARE(estero["valido"].toBool(), true);
    QCOMPARE(estero["paese"].toString(), QStringLiteral("GB"));
    QVERIFY(estero["abi"].isNull());
    QVERIFY(estero["cin"].isNull());
}

// Standard input of any size streams through: results come while the input is still open, in
// order, one per line, and memory does not grow with the input.
void TestBvibanCli::flussoGrande() {
    QProcess processo;
    processo.start(kProgramma, {QStringLiteral("verifica")});
    QVERIFY(processo.waitForStarted());

    const QByteArray valida = kEsempio + '\n';
    const QByteArray sbagliata = "IT60X0542811101000000123465\n";
    QByteArray blocco;
    for (int i = 0; i < 1000; ++i) {
        blocco += i % 2 == 0 ? valida : sbagliata;
    }
    QByteArray letto;
    processo.write(blocco);
    QVERIFY2(attendiRighe(processo, letto, 1000), "no results before the end of the input");

    // The peak once the program has settled, and after 350,000 lines (10 MB) more: holding
    // the input, or a few bytes of each line, would show; the sanitizers' own bookkeeping
    // stays within the margin.
    constexpr int kAssestati = 50;
    constexpr int kBlocchi = 400;
    qint64 piccoIniziale = 0;
    for (int i = 1; i < kBlocchi; ++i) {
        if (i == kAssestati) {
            QVERIFY(attendiRighe(processo, letto, kAssestati * 1000));
            piccoIniziale = piccoDiMemoria(processo.processId());
        }
        processo.write(blocco);
        while (processo.bytesToWrite() > 0) {
            processo.waitForBytesWritten(30000);
            letto += processo.readAllStandardOutput();
        }
    }
    QVERIFY(attendiRighe(processo, letto, kBlocchi * 1000));
    const qint64 piccoFinale = piccoDiMemoria(processo.processId());
    processo.closeWriteChannel();
    QVERIFY(processo.waitForFinished(60000));
    letto += processo.readAllStandardOutput();
    QCOMPARE(processo.exitCode(), 1);

    const QList<QByteArray> righe = letto.split('\n');
    QCOMPARE(righe.size(), kBlocchi * 1000 + 1);
    for (int i = 0; i < kBlocchi * 1000; i += 997) {
        const QByteArray atteso = i % 2 == 0 ? kEsempio + "\tvalido\t" : sbagliata.trimmed() + '\t';
        QVERIFY2(righe[i].startsWith(atteso), righe[i].constData());
    }
    if (piccoIniziale > 0) {
        QVERIFY2(
            piccoFinale - piccoIniziale < 2048,
            qPrintable(QStringLiteral("%1 KiB, then %2 KiB").arg(piccoIniziale).arg(piccoFinale)));
    }
}

void TestBvibanCli::rigaTroppoLunga_data() {
    QTest::addColumn<int>("lunghezza");
    QTest::addColumn<bool>("daFile");
    QTest::addColumn<bool>("troppoLunga");

    riga("65,536 bytes from a file: the longest checked", 65536, true, false);
    riga("65,537 bytes from a file", 65537, true, true);
    riga("70,000 bytes through a pipe", 70000, false, true);
    riga("200,000 bytes through a pipe", 200000, false, true);
}

// A line longer than 65,536 bytes (its CR LF aside) gets a result of its own however the input
// comes, with nothing of the line before it; the lines after it are read.
void TestBvibanCli::rigaTroppoLunga() {
    QFETCH(int, lunghezza);
    QFETCH(bool, daFile);
    QFETCH(bool, troppoLunga);

    const QByteArray lunga(lunghezza, '7');
    const QByteArray ingresso = kEsempio + '\n' + lunga + "\r\n" + kEsempio + '\n';
    const QByteArray valido = kEsempio + "\tvalido\tIT 60 X 05428 11101 000000123456\n";
    const QByteArray motivo = "La riga supera 65536 byte: è troppo lunga per essere un IBAN.";
    const Esecuzione piana = esegui({QStringLiteral("verifica")}, ingresso, daFile);
    QCOMPARE(piana.uscita,
             valido +
                 (troppoLunga ? QByteArray(64, '7') + "…\tnon valido\t" + motivo
                              : lunga + "\tnon valido\tUn IBAN comincia con le due lettere del "
                                        "paese, non con «77».") +
                 '\n' + valido);
    QCOMPARE(piana.stato, 1);
    if (!troppoLunga) {
        return;
    }
    const Esecuzione json =
        esegui({QStringLiteral("verifica"), QStringLiteral("--json")}, ingresso, daFile);
    QCOMPARE(json.uscita.split('\n').value(1),
             R"({"input":")" + QByteArray(65536, '7') +
                 R"(","iban":null,"valido":false,"motivo":")" + motivo +
                 R"(","paese":null,"cifre_controllo":null,"cin":null,"abi":null,"cab":null,)"
                 R"("conto":null,"cartaceo":null,"per_campi":null,"nota":null,"suggerimenti":[],)"
                 R"("troppi_suggerimenti":false})");
}

void TestBvibanCli::erroriDiLetturaEScrittura_data() {
    QTest::addColumn<QStringList>("argomenti");
    QTest::addColumn<Flusso>("flusso");
    QTest::addColumn<QByteArray>("errori");

    const QString verifica = QStringLiteral("verifica");
    const QByteArray piena = "bviban-cli: errore di scrittura sullo standard output: il disco è "
                             "pieno\n";
    riga("write: verifica", QStringList{verifica, QString::fromLatin1(kEsempio)},
         Flusso::UscitaPiena, piena);
    riga("write: --help", QStringList{QStringLiteral("--help")}, Flusso::UscitaPiena, piena);
    riga("write: --version", QStringList{QStringLiteral("--version")}, Flusso::UscitaPiena, piena);
    riga("write: verifica -h", QStringList{verifica, QStringLiteral("-h")}, Flusso::UscitaPiena,
         piena);
#ifdef Q_OS_UNIX
    // Only POSIX starts a program with a folder or nothing as a standard stream.
    riga("read: verifica", QStringList{verifica}, Flusso::IngressoCartella,
         QByteArray("bviban-cli: errore di lettura dello standard input: è una cartella\n"));
    riga("write: standard output closed", QStringList{verifica, QString::fromLatin1(kEsempio)},
         Flusso::UscitaChiusa,
         QByteArray("bviban-cli: errore di scrittura sullo standard output: il file non è aperto "
                    "per questa operazione\n"));
    riga("read: standard input closed", QStringList{verifica}, Flusso::IngressoChiuso,
         QByteArray("bviban-cli: errore di lettura dello standard input: il file non è aperto "
                    "per questa operazione\n"));
#endif
}

// Nothing lost in silence: a failed read or write gives status 2 and says why, in Italian as
// every other message, on standard error.
void TestBvibanCli::erroriDiLetturaEScrittura() {
    QFETCH(QStringList, argomenti);
    QFETCH(Flusso, flusso);
    QFETCH(QByteArray, errori);

    QProcess processo;
    switch (flusso) {
    case Flusso::UscitaPiena:
        processo.setStandardOutputFile(QStringLiteral("/dev/full"));
        break;
#ifdef Q_OS_UNIX
    case Flusso::IngressoCartella:
        processo.setStandardInputFile(QStringLiteral("/"));
        break;
    case Flusso::UscitaChiusa:
        processo.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
        break;
    case Flusso::IngressoChiuso:
        processo.setChildProcessModifier([] { ::close(STDIN_FILENO); });
        break;
#else
    default:
        break;
#endif
    }
    processo.start(kProgramma, argomenti);
    QVERIFY(processo.waitForFinished(30000));
    QCOMPARE(processo.exitCode(), 2);
    QCOMPARE(processo.readAllStandardError(), errori);
}

void TestBvibanCli::tuboChiuso_data() {
    QTest::addColumn<bool>("ignorato");
    QTest::addColumn<QByteArray>("stato");
    QTest::addColumn<QByteArray>("errori");

    riga("SIGPIPE ignored: EPIPE ends it with status 2", true, QByteArray("stato 2\n"),
         QByteArray("bviban-cli: errore di scrittura sullo standard output: il programma che "
                    "riceveva l'uscita si è chiuso\n"));
    riga("SIGPIPE by default: the signal ends it", false, QByteArray("stato 141\n"), QByteArray());
}

// An endless input whose reader goes away after the first result: the program stops at the
// first failed write, whether SIGPIPE ends it or the write fails with EPIPE. `timeout` keeps a
// program that goes on reading from running for ever.
void TestBvibanCli::tuboChiuso() {
#ifndef Q_OS_UNIX
    QSKIP("SIGPIPE and the POSIX shell exist only on POSIX systems");
#else
    QFETCH(bool, ignorato);
    QFETCH(QByteArray, stato);
    QFETCH(QByteArray, errori);

    QProcess processo;
    // The disposition passes through the shell to every program of the pipeline.
    processo.setChildProcessModifier(
        [ignorato] { ::signal(SIGPIPE, ignorato ? SIG_IGN : SIG_DFL); });
    processo.start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"),
                    QStringLiteral("yes \"$1\" | { timeout 60 \"$0\" verifica; echo \"stato $?\" "
                                   ">&2; } | head -n 1"),
                    kProgramma, QStringLiteral("IT60X0542811101000000123457")});
    QVERIFY(processo.waitForFinished(90000));
    QCOMPARE(processo.readAllStandardOutput().count('\n'), 1);
    const QByteArray scritto = processo.readAllStandardError();
    QVERIFY2(scritto.contains(stato), scritto.constData());
    QCOMPARE(scritto.contains("bviban-cli:"), !errori.isEmpty());
    QVERIFY2(scritto.contains(errori), scritto.constData());
#endif
}

QTEST_GUILESS_MAIN(TestBvibanCli)
#include "tst_bviban_cli.moc"
