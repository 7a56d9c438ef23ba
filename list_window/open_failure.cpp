#include "open_failure.h"

#include "identity.h"
#include "look.h"

#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

void tellOpenFailure(QWidget* parent, const QString& text, const QString& path) {
    QDialog box(parent);
    box.setObjectName(QStringLiteral("frmApriFallito"));
    box.setWindowTitle(QString::fromUtf8(identity::kApplicationTitle));
    box.setWindowIcon(look::applicationIcon());

    auto* picture = new QLabel(&box);
    const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    picture->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size));
    auto* message = new QLabel(text, &box);
    message->setObjectName(QStringLiteral("lblMessaggio"));
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    auto* where = new QLineEdit(path, &box);
    where->setObjectName(QStringLiteral("txtPercorso"));
    where->setReadOnly(true);
    where->setAccessibleName(QStringLiteral("Percorso"));
    where->setMinimumWidth(where->fontMetrics().horizontalAdvance(path) + 16);
    where->selectAll();

    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("Copia il percorso"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("cmdCopia"));
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setDefault(true);
    QObject::connect(copy, &QPushButton::clicked, &box, [where] {
        QGuiApplication::clipboard()->setText(where->text());
        where->setFocus();
        where->selectAll();
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);

    auto* column = new QVBoxLayout;
    column->addWidget(message);
    column->addWidget(where);
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(column, 1);
    auto* layout = new QVBoxLayout(&box);
    layout->addLayout(row);
    layout->addWidget(buttons);
    // Ready to copy from the keyboard.
    where->setFocus();
    box.exec();
}
