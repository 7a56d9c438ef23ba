#include "paesi.h"

#include <array>
#include <string_view>

namespace verifier {
namespace {

struct Riga {
    const char* codice;
    int lunghezza;
    // The BBAN as the registry writes it: runs of "<count>!<kind>", the kind n (digits), a
    // (upper-case letters) or c (either).
    std::string_view bban;
    const char* nome;
};

// The SWIFT IBAN Registry, Release 100 (rows "IBAN prefix country code", "IBAN length" and
// "BBAN structure"), https://www.swift.com/standards/data-standards/iban. Territories that the
// registry lists under another country's prefix (AX under FI; GF, GP and the others under FR;
// IM, JE, GG under GB) use that prefix and have none of their own. The names use the everyday
// Italian adjective where there is one, and the country's name otherwise.
constexpr Riga kRegistro[] = {
    {"AD", 24, "4!n4!n12!c", "andorrani"},
    {"AE", 23, "3!n16!n", "degli Emirati Arabi Uniti"},
    {"AL", 28, "8!n16!c", "albanesi"},
    {"AT", 20, "5!n11!n", "austriaci"},
    {"AZ", 28, "4!a20!c", "azeri"},
    {"BA", 20, "3!n3!n8!n2!n", "della Bosnia ed Erzegovina"},
    {"BE", 16, "3!n7!n2!n", "belgi"},
    {"BG", 22, "4!a4!n2!n8!c", "bulgari"},
    {"BH", 22, "4!a14!c", "del Bahrein"},
    {"BI", 27, "5!n5!n11!n2!n", "del Burundi"},
    {"BR", 29, "8!n5!n10!n1!a1!c", "brasiliani"},
    {"BY", 28, "4!c4!n16!c", "bielorussi"},
    {"CH", 21, "5!n12!c", "svizzeri"},
    {"CR", 22, "4!n14!n", "costaricani"},
    {"CY", 28, "3!n5!n16!c", "ciprioti"},
    {"CZ", 24, "4!n6!n10!n", "cechi"},
    {"DE", 22, "8!n10!n", "tedeschi"},
    {"DJ", 27, "5!n5!n11!n2!n", "di Gibuti"},
    {"DK", 18, "4!n9!n1!n", "danesi"},
    {"DO", 28, "4!c20!n", "della Repubblica Dominicana"},
    {"EE", 20, "2!n14!n", "estoni"},
    {"EG", 29, "4!n4!n17!n", "egiziani"},
    {"ES", 24, "4!n4!n1!n1!n10!n", "spagnoli"},
    {"FI", 18, "3!n11!n", "finlandesi"},
    {"FK", 18, "2!a12!n", "delle Isole Falkland"},
    {"FO", 18, "4!n9!n1!n", "delle Isole Fær Øer"},
    {"FR", 27, "5!n5!n11!c2!n", "francesi"},
    {"GB", 22, "4!a6!n8!n", "del Regno Unito"},
    {"GE", 22, "2!a16!n", "georgiani"},
    {"GI", 23, "4!a15!c", "di Gibilterra"},
    {"GL", 18, "4!n9!n1!n", "groenlandesi"},
    {"GR", 27, "3!n4!n16!c", "greci"},
    {"GT", 28, "4!c20!c", "guatemaltechi"},
    {"HN", 28, "4!a20!n", "honduregni"},
    {"HR", 21, "7!n10!n", "croati"},
    {"HU", 28, "3!n4!n1!n15!n1!n", "ungheresi"},
    {"IE", 22, "4!a6!n8!n", "irlandesi"},
    {"IL", 23, "3!n3!n13!n", "israeliani"},
    {"IQ", 23, "4!a3!n12!n", "iracheni"},
    {"IS", 26, "4!n2!n6!n10!n", "islandesi"},
    {"IT", 27, "1!a5!n5!n12!c", "italiani"},
    {"JO", 30, "4!a4!n18!c", "giordani"},
    {"KW", 30, "4!a22!c", "kuwaitiani"},
    {"KZ", 20, "3!n13!c", "kazaki"},
    {"LB", 28, "4!n20!c", "libanesi"},
    {"LC", 32, "4!a24!c", "di Santa Lucia"},
    {"LI", 21, "5!n12!c", "del Liechtenstein"},
    {"LT", 20, "5!n11!n", "lituani"},
    {"LU", 20, "3!n13!c", "lussemburghesi"},
    {"LV", 21, "4!a13!c", "lettoni"},
    {"LY", 25, "3!n3!n15!n", "libici"},
    {"MC", 27, "5!n5!n11!c2!n", "monegaschi"},
    {"MD", 24, "2!c18!c", "moldavi"},
    {"ME", 22, "3!n13!n2!n", "montenegrini"},
    {"MK", 19, "3!n10!c2!n", "della Macedonia del Nord"},
    {"MN", 20, "4!n12!n", "mongoli"},
    {"MR", 27, "5!n5!n11!n2!n", "mauritani"},
    {"MT", 31, "4!a5!n18!c", "maltesi"},
    {"MU", 30, "4!a2!n2!n12!n3!n3!a", "di Mauritius"},
    {"NI", 28, "4!a20!n", "nicaraguensi"},
    {"NL", 18, "4!a10!n", "olandesi"},
    {"NO", 15, "4!n6!n1!n", "norvegesi"},
    {"OM", 23, "3!n16!c", "dell'Oman"},
    {"PK", 24, "4!a16!c", "pakistani"},
    {"PL", 28, "8!n16!n", "polacchi"},
    {"PS", 29, "4!a21!c", "palestinesi"},
    {"PT", 25, "4!n4!n11!n2!n", "portoghesi"},
    {"QA", 29, "4!a21!c", "del Qatar"},
    {"RO", 24, "4!a16!c", "rumeni"},
    {"RS", 22, "3!n13!n2!n", "serbi"},
    {"RU", 33, "9!n5!n15!c", "russi"},
    {"SA", 24, "2!n18!c", "sauditi"},
    {"SC", 31, "4!a2!n2!n16!n3!a", "delle Seychelles"},
    {"SD", 18, "2!n12!n", "sudanesi"},
    {"SE", 24, "3!n16!n1!n", "svedesi"},
    {"SI", 19, "5!n8!n2!n", "sloveni"},
    {"SK", 24, "4!n6!n10!n", "slovacchi"},
    {"SM", 27, "1!a5!n5!n12!c", "sammarinesi"},
    {"SO", 23, "4!n3!n12!n", "somali"},
    {"ST", 25, "4!n4!n11!n2!n", "di São Tomé e Príncipe"},
    {"SV", 28, "4!a20!n", "salvadoregni"},
    {"TL", 23, "3!n14!n2!n", "di Timor Est"},
    {"TN", 24, "2!n3!n13!n2!n", "tunisini"},
    {"TR", 26, "5!n1!n16!c", "turchi"},
    {"UA", 29, "6!n19!c", "ucraini"},
    {"VA", 22, "3!n15!n", "della Città del Vaticano"},
    {"VG", 24, "4!a16!n", "delle Isole Vergini Britanniche"},
    {"XK", 20, "4!n10!n2!n", "kosovari"},
    {"YE", 30, "4!a4!n18!c", "yemeniti"},
};
constexpr std::size_t kPaesi = std::size(kRegistro);

constexpr int kPrimoDelBBAN = 4; // after the country and the check digits

// A row made ready for checking: the BBAN's runs read into masks of places. A row whose runs
// do not add up to its length fails to compile.
constexpr Paese pronto(const Riga& riga) {
    Paese p{{riga.codice[0], riga.codice[1], 0},
            static_cast<std::uint8_t>(riga.lunghezza),
            riga.nome,
            0b1100,
            0};
    int posto = kPrimoDelBBAN;
    std::size_t i = 0;
    while (i < riga.bban.size()) {
        int quanti = 0;
        while (riga.bban[i] >= '0' && riga.bban[i] <= '9') {
            quanti = quanti * 10 + (riga.bban[i++] - '0');
        }
        if (riga.bban[i++] != '!') {
            throw "a run of the BBAN without its '!'";
        }
        const char tipo = riga.bban[i++];
        for (int k = 0; k < quanti; ++k, ++posto) {
            if (tipo == 'n') {
                p.soloCifre |= std::uint64_t(1) << posto;
            } else if (tipo == 'a') {
                p.soloLettere |= std::uint64_t(1) << posto;
            } else if (tipo != 'c') {
                throw "a kind of character other than n, a and c";
            }
        }
    }
    if (posto != riga.lunghezza) {
        throw "a BBAN whose runs do not make the IBAN's length";
    }
    return p;
}

} // namespace

namespace paesi {

static_assert(kPaesi == kQuanti);

constexpr std::array<Paese, kQuanti> kTabella = [] {
    std::array<Paese, kQuanti> paesi{};
    for (std::size_t i = 0; i < kQuanti; ++i) {
        paesi[i] = pronto(kRegistro[i]);
    }
    return paesi;
}();

constexpr std::array<std::uint8_t, 26 * 26> kIndice = [] {
    std::array<std::uint8_t, 26 * 26> indice{};
    for (std::size_t i = 0; i < kQuanti; ++i) {
        indice[(kRegistro[i].codice[0] - 'A') * 26 + (kRegistro[i].codice[1] - 'A')] =
            static_cast<std::uint8_t>(i + 1);
    }
    return indice;
}();

} // namespace paesi
} // namespace verifier
