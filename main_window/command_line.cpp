#include "command_line.h"

#include "identity.h"

#include <cstdio>

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine line;
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QStringLiteral("--")) {
            options = false;
        } else if (options && argument == QStringLiteral("--verifica") && line.files_.isEmpty()) {
            line.action_ = Action::VerifyIban;
            line.iban_ = arguments.mid(i + 1).join(QLatin1Char(' '));
            return line;
        } else if (options && argument == QStringLiteral("--converti") && arguments.size() == 1) {
            line.action_ = Action::ChooseList;
            return line;
        } else if (options &&
                   (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))) {
            line.action_ = Action::ShowHelp;
            return line;
        } else if (options && argument == QStringLiteral("--version")) {
            line.action_ = Action::ShowVersion;
            return line;
        } else if (options && argument.startsWith(QLatin1Char('-'))) {
            line.action_ = Action::Refuse;
            line.error_ =
                argument == QStringLiteral("-")
                    ? QStringLiteral("la finestra non legge lo standard input: per "
                                     "convertirlo usa bviban-cli converti -.")
                : argument == QStringLiteral("--verifica") ||
                        argument == QStringLiteral("--converti")
                    ? QStringLiteral("%1 non va insieme ad altri argomenti.").arg(argument)
                    : QStringLiteral("opzione sconosciuta: %1").arg(argument);
            return line;
        } else {
            line.files_ << argument;
        }
    }
    if (!line.files_.isEmpty()) {
        line.action_ = Action::ConvertFiles;
    }
    return line;
}

QString CommandLine::usage() {
    return QStringLiteral(
        "Uso: bviban [FILE...]\n"
        "     bviban --verifica [IBAN]\n"
        "     bviban --converti\n"
        "Apre la finestra di Brivanta IBAN, che calcola l'IBAN da ABI, CAB e conto.\n"
        "Con uno o più FILE (elenchi CSV, TSV, .xlsx o .ods) li converte uno dopo\n"
        "l'altro, come se fossero trascinati sulla finestra.\n"
        "\n"
        "  --verifica [IBAN]  apre anche la finestra \"Verifica IBAN\", con l'IBAN dato\n"
        "  --converti         chiede subito l'elenco da convertire\n"
        "  --help             mostra questo aiuto ed esce\n"
        "  --version          mostra la versione ed esce\n"
        "  --                 quel che segue è un FILE, anche se comincia con -\n"
        "\n"
        "Per calcolare, verificare e convertire dal terminale: bviban-cli --help.\n");
}

bool CommandLine::opensWindow() const {
    return action_ == Action::OpenWindow || action_ == Action::ConvertFiles ||
           action_ == Action::ChooseList || action_ == Action::VerifyIban;
}

QString CommandLine::output() const {
    switch (action_) {
    case Action::ShowHelp:
        return usage();
    case Action::ShowVersion:
        return QStringLiteral("bviban %1\n").arg(QString::fromLatin1(identity::kVersion));
    case Action::Refuse:
        return QStringLiteral("bviban: %1\n").arg(error_) + usage();
    default:
        return {};
    }
}

int CommandLine::exitStatus() const {
    return action_ == Action::Refuse ? 2 : 0;
}

int CommandLine::print() const {
    std::fputs(output().toLocal8Bit().constData(), action_ == Action::Refuse ? stderr : stdout);
    return exitStatus();
}
