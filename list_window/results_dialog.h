#pragma once

#include "list_result.h"

#include <QDialog>

#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
class QVBoxLayout;
class ReasonRowsModel;

namespace shell {
class Launcher;
}

// "Risultato della conversione": for each list converted, where its output is, its counts and
// the rows that got a reason (the first ReasonRows::kKept, and how many more there are); the
// output and its folder open with the desktop's programs. Several lists are listed first, one a
// line, and the one chosen there is shown below.
class ResultsDialog : public QDialog {
    Q_OBJECT
public:
    ResultsDialog(const std::vector<std::unique_ptr<ListResult>>& results,
                  shell::Launcher& launcher, QWidget* parent);

private:
    void showList(const ListResult& result);
    void open(const QString& target, const QString& what);

    const std::vector<std::unique_ptr<ListResult>>& results_;
    shell::Launcher& launcher_;
    const ListResult* shown_ = nullptr;

    QTableWidget* tblElenchi = nullptr;
    QLabel* lblEsito;
    QWidget* fraConteggi;
    QVBoxLayout* conteggi;
    QTableView* tblMotivi;
    ReasonRowsModel* model_ = nullptr;
    QLabel* lblAltre;
    QPushButton* cmdApriFile;
    QPushButton* cmdApriCartella;
    QPushButton* cmdChiudi;
};
