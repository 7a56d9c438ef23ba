#pragma once

#include <QString>
#include <QStringList>

// The window program's command line:
//   bviban [FILE...]          the window, converting each FILE in turn as a drop does;
//   bviban --verifica [IBAN]  the window with "Verifica IBAN" open, filled in with the IBAN;
//   bviban --converti         the window asking for a list to convert ("Converti un elenco…");
//   bviban --help | --version.
// "--" ends the options. The words of an IBAN given in groups are joined with spaces.
class CommandLine {
public:
    enum class Action {
        OpenWindow,
        ConvertFiles,
        ChooseList,
        VerifyIban,
        ShowHelp,
        ShowVersion,
        Refuse
    };

    // `arguments` without the program's name.
    static CommandLine parse(const QStringList& arguments);

    Action action() const { return action_; }
    // ConvertFiles: the files, as given.
    const QStringList& files() const { return files_; }
    // VerifyIban: the IBAN, empty when none is given.
    const QString& iban() const { return iban_; }
    // Refuse: what is wrong, one Italian line.
    const QString& error() const { return error_; }

    // The usage, in Italian, for --help and after a refusal.
    static QString usage();

    // Whether the program opens its window; otherwise it prints and ends.
    bool opensWindow() const;
    // What it prints (on standard output, on standard error for a refusal), and its exit
    // status: 0, or 2 for a refusal.
    QString output() const;
    int exitStatus() const;
    // Prints the output where it belongs and returns the exit status.
    int print() const;

private:
    Action action_ = Action::OpenWindow;
    QStringList files_;
    QString iban_;
    QString error_;
};
