#include "conversion.h"

#include "byte_source.h"
#include "csv_reader.h"
#include "csv_writer.h"
#include "file_names.h"
#include "input_kind.h"
#include "list_converter.h"
#include "ods_reader.h"
#include "output_file.h"
#include "rows_ahead.h"
#include "text_decoder.h"
#include "xlsx_reader.h"
#include "xlsx_writer.h"

namespace lists {
namespace {

void checkOutput(const std::filesystem::path& input, const std::filesystem::path& output,
                 const std::string& outputName) {
    if (output == "-") {
        return;
    }
    // A name without an extension is a device (/dev/null) or a plain file: CSV.
    const std::string extension = lowerExtension(output);
    if (!extension.empty() && extension != ".csv" && extension != ".tsv" && extension != ".txt" &&
        extension != ".xlsx") {
        throw ConversionError("Non so scrivere file " + extension + ": il file di uscita " +
                              outputName + " deve finire in .csv, .tsv, .txt o .xlsx.");
    }
    if (input == "-") {
        return;
    }
    std::error_code error;
    // The same file under any spelling: same device, same inode.
    if (std::filesystem::equivalent(input, output, error) && !error) {
        throw ConversionError("Il file di uscita " + outputName +
                              " è il file d'ingresso stesso: non lo sovrascrivo. Indica un altro "
                              "nome con -o.");
    }
}

struct Attempt {
    const ConversionRequest& request;
    InputKind kind;
    std::filesystem::path output;
    bool xlsxOutput;
    std::optional<Encoding> forced;
    const ConversionHooks& hooks;
    Rerun rerun;
};

Summary convertOnce(const Attempt& attempt) {
    const ConversionRequest& request = attempt.request;
    const std::string inputName = displayName(request.input);
    OutputFile out(attempt.output,
                   request.overwrite  ? ExistingOutput::Replace
                   : request.freeName ? ExistingOutput::FreeName
                                      : ExistingOutput::Refuse,
                   attempt.hooks.cancelled);

    std::unique_ptr<ByteSource> source;
    std::unique_ptr<TextDecoder> decoder;
    std::unique_ptr<TableReader> reader;
    char separator = ';';
    std::string lineEnd = "\r\n";
    std::string sheetName = "Foglio1";
    switch (attempt.kind) {
    case InputKind::Text: {
        source = std::make_unique<ByteSource>(request.input, attempt.hooks.cancelled);
        // Strict where the file can be read again, into a temporary file: not a pipe or a
        // device.
        std::error_code error;
        const bool strict = request.input != "-" &&
                            std::filesystem::is_regular_file(request.input, error) &&
                            out.temporary();
        decoder = std::make_unique<TextDecoder>(*source, attempt.forced, strict);
        auto csv = std::make_unique<CsvReader>(*decoder, inputName, std::nullopt);
        separator = csv->separator();
        lineEnd = std::string(csv->lineEnd());
        reader = std::move(csv);
        break;
    }
    // A workbook's rows are parsed from its XML on one thread and converted on this one: each
    // takes about as long as the other.
    case InputKind::Xlsx: {
        auto xlsx = std::make_unique<XlsxReader>(
            request.input, inputName, SheetChoice(request.sheet), attempt.hooks.cancelled);
        sheetName = xlsx->sheetName();
        reader = std::make_unique<RowsAhead>(std::move(xlsx));
        break;
    }
    case InputKind::Ods: {
        auto ods = std::make_unique<OdsReader>(request.input, inputName, SheetChoice(request.sheet),
                                               attempt.hooks.cancelled);
        sheetName = ods->sheetName();
        reader = std::make_unique<RowsAhead>(std::move(ods));
        break;
    }
    }

    // Starting over is possible only when the input can be read again and nothing has gone
    // out yet.
    std::error_code error;
    Rerun rerun = attempt.rerun;
    rerun.possible =
        out.temporary() &&
        (attempt.kind != InputKind::Text ||
         (request.input != "-" && std::filesystem::is_regular_file(request.input, error)));

    std::unique_ptr<TableWriter> writer;
    if (attempt.xlsxOutput) {
        writer = std::make_unique<XlsxWriter>(out.stream(), out.name(), sheetName);
    } else {
        // A byte order mark is for a file that Excel opens, not for a pipe.
        writer = std::make_unique<CsvWriter>(out.stream(), out.name(), separator, lineEnd,
                                             attempt.output != "-");
    }
    ListConverter converter(request.columns, inputName, *reader, *writer, attempt.hooks, rerun);
    reader->readAll(converter);
    converter.finish();
    writer->finish();
    out.commit();
    Summary summary = converter.summary();
    summary.output = out.target();
    if (decoder != nullptr) {
        summary.windows1252Lines = decoder->windows1252Lines();
        summary.windows1252LineCount = decoder->windows1252LineCount();
    }
    return summary;
}

} // namespace

Summary convert(const ConversionRequest& request, const ConversionHooks& hooks) {
    const auto started = std::chrono::steady_clock::now();
    try {
        const std::string inputName = displayName(request.input);
        const InputKind kind = inputKind(request.input, inputName);
        const std::filesystem::path output =
            request.output.empty() ? defaultOutput(request.input) : request.output;
        checkOutput(request.input, output, displayName(output));
        Attempt attempt{
            request,      kind,  output, output != "-" && lowerExtension(output) == ".xlsx",
            std::nullopt, hooks, Rerun{}};
        for (;;) {
            try {
                Summary summary = convertOnce(attempt);
                summary.elapsed = std::chrono::steady_clock::now() - started;
                return summary;
            } catch (const NotUtf8&) {
                // Not all UTF-8: the whole file again, UTF-8 with some lines in Windows-1252,
                // or Windows-1252 throughout.
                ByteSource source(request.input, hooks.cancelled);
                attempt.forced = likelyEncoding(source);
            } catch (const WiderTable& wider) {
                attempt.rerun = wider.rerun;
            }
        }
    } catch (const std::bad_alloc&) {
        throw ConversionError("Memoria insufficiente per convertire il file " +
                              displayName(request.input) + ".");
    }
}

} // namespace lists
