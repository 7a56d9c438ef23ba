#include "identity.h"
#include "invitation_url.h"

#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

class InvitationUrlTest : public QObject {
    Q_OBJECT
private slots:
    void exactText_data();
    void exactText();
    void decodesToWhatWasTyped_data();
    void decodesToWhatWasTyped();
};

void InvitationUrlTest::exactText_data() {
    QTest::addColumn<QString>("friendAddress");
    QTest::addColumn<QString>("senderAddress");
    QTest::addColumn<QString>("senderName");
    QTest::addColumn<QString>("url");

    const QString page = QStringLiteral("http://www.brivanta.example/quorvel_sendmail.asp");
    QTest::newRow("plain") << "amico@posta.it"
                           << "io@casa.it"
                           << "PAOLO"
                           << page + "?MAIL_DEST=amico%40posta.it&MAIL_MIT=io%40casa.it"
                                     "&NomeAmico=PAOLO";
    QTest::newRow("empty sender") << "amico@posta.it"
                                  << ""
                                  << ""
                                  << page + "?MAIL_DEST=amico%40posta.it&MAIL_MIT=&NomeAmico=";
    QTest::newRow("unreserved kept") << "a-b.c_d~e@f.it"
                                     << ""
                                     << "Az09"
                                     << page + "?MAIL_DEST=a-b.c_d~e%40f.it&MAIL_MIT="
                                               "&NomeAmico=Az09";
    QTest::newRow("accented letter as UTF-8") << "x@y.it"
                                              << ""
                                              << "Niccolò"
                                              << page + "?MAIL_DEST=x%40y.it&MAIL_MIT="
                                                        "&NomeAmico=Niccol%C3%B2";
    // QUrl's decoder would show U+FFFFF as U+FFFD; the request carries the bytes as typed.
    QTest::newRow("noncharacter as its UTF-8")
        << "x@y.it"
        << "" << QString::fromUcs4(U"\U000FFFFF")
        << page + "?MAIL_DEST=x%40y.it&MAIL_MIT=&NomeAmico=%F3%BF%BF%BF";
    QTest::newRow("query characters")
        << "a&b=c#d@e.it"
        << ""
        << "1+1 %" << page + "?MAIL_DEST=a%26b%3Dc%23d%40e.it&MAIL_MIT=&NomeAmico=1%2B1%20%25";
}

void InvitationUrlTest::exactText() {
    QFETCH(QString, friendAddress);
    QFETCH(QString, senderAddress);
    QFETCH(QString, senderName);
    QFETCH(QString, url);
    QCOMPARE(invitationUrl(friendAddress, senderAddress, senderName), url);
}

void InvitationUrlTest::decodesToWhatWasTyped_data() {
    QTest::addColumn<QString>("friendAddress");
    QTest::addColumn<QString>("senderAddress");
    QTest::addColumn<QString>("senderName");

    QTest::newRow("ampersand and equals") << "a&MAIL_MIT=x@y.it"
                                          << "me&you=us@z.it"
                                          << "Tom & Jerry=1";
    QTest::newRow("hash") << "amico#1@posta.it"
                          << "#@#.#"
                          << "#hashtag";
    QTest::newRow("plus and percent") << "a+b@c.it"
                                      << "100%@d.it"
                                      << "%41%2B+";
    QTest::newRow("inner spaces") << "mario rossi@posta.it"
                                  << "io @ casa.it"
                                  << "Maria  Luisa";
    QTest::newRow("accented letters") << "àèéìòù@posta.it"
                                      << "perché@più.it"
                                      << "Niccolò Müller Ærø";
    QTest::newRow("outside the basic plane") << "gioia😀@posta.it"
                                             << ""
                                             << "Zoë 😀";
    QTest::newRow("question marks and slashes") << "a?b/c@d.it"
                                                << "../x@y"
                                                << "?/\\";
}

void InvitationUrlTest::decodesToWhatWasTyped() {
    QFETCH(QString, friendAddress);
    QFETCH(QString, senderAddress);
    QFETCH(QString, senderName);

    const QString text = invitationUrl(friendAddress, senderAddress, senderName);
    const QUrl url(text, QUrl::StrictMode);
    QVERIFY2(url.isValid(), qPrintable(url.errorString()));
    QCOMPARE(url.scheme(), QStringLiteral("http"));
    QCOMPARE(url.host(), QString::fromLatin1(identity::kVendorHost));
    QCOMPARE(url.port(), -1);
    QCOMPARE(url.path(), QStringLiteral("/quorvel_sendmail.asp"));
    QVERIFY(!url.hasFragment());

    // Only unreserved characters, escapes and the separators of the three pairs.
    const QString query = url.query(QUrl::FullyEncoded);
    QVERIFY2(QRegularExpression(QStringLiteral("^MAIL_DEST=[A-Za-z0-9._~%-]*&MAIL_MIT=[A-Za-z0-9."
                                               "_~%-]*&NomeAmico=[A-Za-z0-9._~%-]*$"))
                 .match(query)
                 .hasMatch(),
             qPrintable(query));

    const QList<QPair<QString, QString>> expected{
        {"MAIL_DEST", friendAddress}, {"MAIL_MIT", senderAddress}, {"NomeAmico", senderName}};
    QCOMPARE(QUrlQuery(url).queryItems(QUrl::FullyDecoded), expected);
}

QTEST_APPLESS_MAIN(InvitationUrlTest)
#include "test_invitation_url.moc"
