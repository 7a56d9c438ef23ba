#include "about_dialog.h"

#include "identity.h"
#include "launcher.h"
#include "look.h"
#include "program_documents.h"
#include "shipped_libraries.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString version(const ShippedLibrary& library) {
    const QString built = QString::fromLatin1(library.version);
    return built.isEmpty() ? QString::fromLatin1(qVersion()) : built;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

AboutDialog::AboutDialog(shell::Launcher& launcher, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmInformazioni"));
    setWindowTitle(QStringLiteral("Informazioni su Brivanta IBAN"));
    setWindowIcon(look::applicationIcon());

    auto* icon = new QLabel(this);
    icon->setPixmap(look::applicationIcon().pixmap(32, 32));
    auto* name = label(this, "lblNome", QString::fromUtf8(identity::kApplicationTitle));
    QFont bigger = name->font();
    bigger.setBold(true);
    bigger.setPointSizeF(bigger.pointSizeF() * 1.4);
    name->setFont(bigger);
    auto* product = label(this, "lblVersione",
                          QStringLiteral("Quorvel by Brivanta, versione %1")
                              .arg(QString::fromLatin1(identity::kVersion)));
    auto* vendor = label(this, "lblProduttore", QStringLiteral("Prodotto da Brivanta"));
    const QString home = QString::fromLatin1(identity::kVendorHome);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(home), this);
    link->setObjectName(QStringLiteral("lblSito"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setAccessibleName(QStringLiteral("Sito di Brivanta: %1").arg(home));
    connect(link, &QLabel::linkActivated, this,
            [&launcher](const QString& url) { launcher.openUrl(url); });

    auto* caption = label(this, "lblLibrerie", QStringLiteral("Librerie usate dal programma:"));
    auto* libraries = new QTableWidget(0, 3, this);
    libraries->setObjectName(QStringLiteral("tblLibrerie"));
    libraries->setAccessibleName(QStringLiteral("Librerie usate"));
    libraries->setHorizontalHeaderLabels(
        {QStringLiteral("Libreria"), QStringLiteral("Versione"), QStringLiteral("Licenza")});
    libraries->verticalHeader()->hide();
    libraries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    libraries->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (const ShippedLibrary& library : kShippedLibraries) {
        const int row = libraries->rowCount();
        libraries->insertRow(row);
        const QStringList cells = {QString::fromLatin1(library.name), version(library),
                                   QString::fromLatin1(library.licence)};
        for (int column = 0; column < cells.size(); ++column) {
            libraries->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    libraries->resizeColumnsToContents();
    libraries->horizontalHeader()->setStretchLastSection(true);
    caption->setBuddy(libraries);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* licences =
        buttons->addButton(QStringLiteral("&Licenze…"), QDialogButtonBox::ActionRole);
    licences->setObjectName(QStringLiteral("cmdLicenze"));
    QPushButton* close = buttons->addButton(QStringLiteral("Chiudi"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdChiudi"));
    connect(licences, &QPushButton::clicked, this, &AboutDialog::showLicences);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(product);
    texts->addWidget(vendor);
    texts->addWidget(link);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(caption);
    layout->addWidget(libraries);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);
    close->setFocus();
}

void AboutDialog::showLicences() {
    LicencesDialog(this).exec();
}

LicencesDialog::LicencesDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmLicenze"));
    setWindowTitle(QStringLiteral("Licenze"));
    setWindowIcon(look::applicationIcon());

    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("lstLibrerie"));
    list->setAccessibleName(QStringLiteral("Librerie"));
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("txtLicenza"));
    text->setAccessibleName(QStringLiteral("Testo della licenza"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setMinimumSize(text->fontMetrics().averageCharWidth() * 84,
                         text->fontMetrics().height() * 24);
    for (const ShippedLibrary& library : kShippedLibraries) {
        list->addItem(QStringLiteral("%1 (%2)").arg(QString::fromLatin1(library.name),
                                                    QString::fromLatin1(library.licence)));
    }
    list->setFixedWidth(list->sizeHintForColumn(0) + list->frameWidth() * 2 + 8);
    connect(list, &QListWidget::currentRowChanged, this, [text](int row) {
        const QString name =
            QStringLiteral("licenze/") + QString::fromLatin1(kShippedLibraries[row].text);
        QFile file(shell::programDocument(name));
        text->setPlainText(
            file.open(QIODevice::ReadOnly)
                ? QString::fromUtf8(file.readAll())
                : QStringLiteral("Non trovo il testo della licenza (%1): reinstalla il programma.")
                      .arg(name));
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Chiudi"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* panes = new QHBoxLayout;
    panes->addWidget(list);
    panes->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes);
    layout->addWidget(buttons);
    list->setCurrentRow(0);
    list->setFocus();
}
