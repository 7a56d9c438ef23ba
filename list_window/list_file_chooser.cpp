#include "list_file_chooser.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

ChosenList chooseList(QWidget* owner) {
    // Qt's own dialog, also where the desktop has one: the desktop's has no room for the
    // second button.
    QFileDialog dialog(owner, QStringLiteral("Converti un elenco"), QString(),
                       QStringLiteral("Elenchi (*.csv *.tsv *.txt *.xlsx *.xlsm *.ods);;"
                                      "Tutti i file (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Converti"));
    ChosenList chosen;
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* columns =
            buttons->addButton(QStringLiteral("Scegli le colonne…"), QDialogButtonBox::ActionRole);
        columns->setObjectName(QStringLiteral("cmdScegliColonne"));
        QObject::connect(columns, &QPushButton::clicked, &dialog, [&dialog, &chosen] {
            chosen.chooseColumns = true;
            // QFileDialog's own accept(), which takes only an existing file.
            static_cast<QDialog&>(dialog).accept();
            // No file chosen yet: the dialog stays, and "Converti" later converts at once.
            chosen.chooseColumns = !dialog.isVisible();
        });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    chosen.path = dialog.selectedFiles().front();
    return chosen;
}
