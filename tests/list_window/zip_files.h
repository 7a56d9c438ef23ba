#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Workbooks made and read by hand with libzip, as the tests need them.
namespace zip_files {

// Writes a zip file with these parts; false when it cannot.
bool write(const QString& path, const QMap<QString, QByteArray>& parts);

// The parts of a zip file, uncompressed; empty when it cannot be read.
QMap<QString, QByteArray> read(const QString& path);

// An .xlsx workbook with one sheet per entry, of inline strings (cells that read as numbers
// are numbers).
using Sheet = QList<QStringList>;
bool writeXlsx(const QString& path, const QList<std::pair<QString, Sheet>>& sheets);

// An .ods spreadsheet with one table per entry, of strings.
bool writeOds(const QString& path, const QList<std::pair<QString, Sheet>>& tables);

} // namespace zip_files
