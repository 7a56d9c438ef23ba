#include "zip_files.h"

#include <QFile>

#include <zip.h>

#include <memory>

namespace zip_files {
namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString columnName(int column) {
    QString name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) {
        name.prepend(QChar(u'A' + (n - 1) % 26));
    }
    return name;
}

bool isNumber(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok && !text.startsWith(QLatin1Char('0'));
}

} // namespace

bool write(const QString& path, const QMap<QString, QByteArray>& parts) {
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        return false;
    }
    // libzip reads the buffers when the archive closes.
    for (auto it = parts.begin(); it != parts.end(); ++it) {
        zip_source_t* source = zip_source_buffer(archive, it.value().constData(),
                                                 static_cast<zip_uint64_t>(it.value().size()), 0);
        if (source == nullptr ||
            zip_file_add(archive, it.key().toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

QMap<QString, QByteArray> read(const QString& path) {
    QMap<QString, QByteArray> parts;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return parts;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        zip_file_t* file = nullptr;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            (file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0)) == nullptr) {
            continue;
        }
        QByteArray bytes(static_cast<qsizetype>(stat.size), '\0');
        const zip_int64_t got = zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        parts.insert(QString::fromUtf8(stat.name), bytes.left(got < 0 ? 0 : got));
    }
    zip_discard(archive);
    return parts;
}

bool writeXlsx(const QString& path, const QList<std::pair<QString, Sheet>>& sheets) {
    const QString main =
        QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    const QString relations =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    QString workbook =
        QStringLiteral("<workbook xmlns=\"%1\" xmlns:r=\"%2\"><sheets>").arg(main, relations);
    QString links = QStringLiteral("<Relationships>");
    QMap<QString, QByteArray> parts;
    for (int s = 0; s < sheets.size(); ++s) {
        workbook += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%2\"/>")
                        .arg(escaped(sheets[s].first))
                        .arg(s + 1);
        links += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2/worksheet\" "
                                "Target=\"worksheets/sheet%1.xml\"/>")
                     .arg(s + 1)
                     .arg(relations);
        QString data;
        for (int r = 0; r < sheets[s].second.size(); ++r) {
            data += QStringLiteral("<row r=\"%1\">").arg(r + 1);
            const QStringList& cells = sheets[s].second[r];
            for (int c = 0; c < cells.size(); ++c) {
                const QString at = columnName(c) + QString::number(r + 1);
                if (cells[c].isEmpty()) {
                    continue;
                }
                data += isNumber(cells[c])
                            ? QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(at, cells[c])
                            : QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>")
                                  .arg(at, escaped(cells[c]));
            }
            data += QStringLiteral("</row>");
        }
        parts.insert(QStringLiteral("xl/worksheets/sheet%1.xml").arg(s + 1),
                     QStringLiteral("<worksheet xmlns=\"%1\"><sheetData>%2</sheetData></worksheet>")
                         .arg(main, data)
                         .toUtf8());
    }
    parts.insert(QStringLiteral("xl/workbook.xml"), (workbook + "</sheets></workbook>").toUtf8());
    parts.insert(QStringLiteral("xl/_rels/workbook.xml.rels"),
                 (links + "</Relationships>").toUtf8());
    return write(path, parts);
}

bool writeOds(const QString& path, const QList<std::pair<QString, Sheet>>& tables) {
    QString body;
    for (const auto& [name, rows] : tables) {
        body += QStringLiteral("<table:table table:name=\"%1\">").arg(escaped(name));
        for (const QStringList& cells : rows) {
            body += QStringLiteral("<table:table-row>");
            for (const QString& cell : cells) {
                body += cell.isEmpty() ? QStringLiteral("<table:table-cell/>")
                                       : QStringLiteral("<table:table-cell office:value-type="
                                                        "\"string\"><text:p>%1</text:p>"
                                                        "</table:table-cell>")
                                             .arg(escaped(cell));
            }
            body += QStringLiteral("</table:table-row>");
        }
        body += QStringLiteral("</table:table>");
    }
    const QString content =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
            "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
            "<office:spreadsheet>%1</office:spreadsheet></office:body></office:document-content>")
            .arg(body);
    return write(path, {{QStringLiteral("mimetype"),
                         QByteArray("application/vnd.oasis.opendocument.spreadsheet")},
                        {QStringLiteral("content.xml"), content.toUtf8()}});
}

} // namespace zip_files
