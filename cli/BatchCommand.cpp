// halvex-barcode batch: one picture per row of a list or CSV file, drawn on
// several threads.  Each row's file depends on that row alone, and failures
// are reported in row order, so the output is the same for any --jobs.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Barcode.h"
#include "Commands.h"
#include "ImageWriter.h"
#include "PictureOptions.h"

namespace {

namespace fs = std::filesystem;

constexpr int kAllWritten = 0;
constexpr int kSomeFailed = 1;
constexpr int kSomeDoNotScan = 3;
constexpr int kMaxJobs = 256;
// A record longer than this is refused: it is no barcode value, and most
// likely a quote that was never closed.
constexpr std::size_t kMaxRecordBytes = 64 * 1024;
// {value} in a file name keeps at most this many bytes of the value.
constexpr std::size_t kMaxNameValueBytes = 100;

struct BatchOptions {
    PictureOptions picture;
    std::string input;
    std::string output;
    std::string column;
    unsigned jobs = 0;
    bool verify = false;
};

// ---- file name pattern ----------------------------------------------------

struct PatternPart {
    enum class Kind { Text, Row, Value } kind = Kind::Text;
    std::string text;
    int width = 0;  // zero padding of {n:0W}
};

struct Pattern {
    std::vector<PatternPart> parts;
    bool hasRow = false;
    bool hasValue = false;
    bool folderVaries = false;  // a placeholder before the last '/'
};

Pattern parsePattern(const std::string& text) {
    Pattern pattern;
    std::string literal;
    const auto bad = [&](const std::string& why) {
        throw CLI::ValidationError("--output", "bad file name pattern '" + text + "': " + why);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '}')
            bad("a '}' without '{'");
        if (c != '{') {
            literal.push_back(c);
            continue;
        }
        const std::size_t close = text.find('}', i);
        if (close == std::string::npos)
            bad("a '{' without '}'");
        const std::string name = text.substr(i + 1, close - i - 1);
        PatternPart part;
        if (name == "value") {
            part.kind = PatternPart::Kind::Value;
            pattern.hasValue = true;
        } else if (name == "n") {
            part.kind = PatternPart::Kind::Row;
        } else if (name.rfind("n:0", 0) == 0 && name.size() > 3 && name.size() <= 5 &&
                   std::all_of(name.begin() + 3, name.end(), [](char d) { return d >= '0' && d <= '9'; })) {
            part.kind = PatternPart::Kind::Row;
            part.width = std::stoi(name.substr(3));
        } else {
            bad("unknown placeholder {" + name + "} (there are {n}, {n:05} and {value})");
        }
        if (part.kind == PatternPart::Kind::Row)
            pattern.hasRow = true;
        if (!literal.empty())
            pattern.parts.push_back({PatternPart::Kind::Text, literal, 0});
        literal.clear();
        if (text.find('/', close) != std::string::npos)
            pattern.folderVaries = true;
        pattern.parts.push_back(part);
        i = close;
    }
    if (!literal.empty())
        pattern.parts.push_back({PatternPart::Kind::Text, literal, 0});
    if (!pattern.hasRow && !pattern.hasValue)
        bad("it needs {n} or {value}, or every row would write the same file");
    return pattern;
}

// The value as a piece of a file name: letters, digits, '.', '-' and '_'
// stay, every other byte becomes '_', a leading '.' too (no hidden files,
// no "..").
std::string safeForFileName(const std::string& value) {
    std::string out;
    for (char c : value.substr(0, kMaxNameValueBytes)) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                          c == '-' || c == '_';
        out.push_back(keep ? c : '_');
    }
    if (out.empty() || out[0] == '.')
        out.insert(out.begin(), '_');
    return out;
}

std::string expand(const Pattern& pattern, long long row, const std::string& value) {
    std::string out;
    for (const PatternPart& part : pattern.parts) {
        switch (part.kind) {
        case PatternPart::Kind::Text: out += part.text; break;
        case PatternPart::Kind::Value: out += safeForFileName(value); break;
        case PatternPart::Kind::Row: {
            const std::string digits = std::to_string(row);
            if (digits.size() < static_cast<std::size_t>(part.width))
                out.append(static_cast<std::size_t>(part.width) - digits.size(), '0');
            out += digits;
            break;
        }
        }
    }
    return out;
}

// ---- input rows -----------------------------------------------------------

struct Row {
    long long number = 0;  // 1-based, blank lines and the header not counted
    std::string value;
    std::optional<std::string> line1;
    std::optional<std::string> line2;
    std::string path;
    std::string error;  // set when the row failed before drawing
};

// Reads records one at a time: lines of a plain list, or CSV records
// (RFC 4180: commas, double quotes, "" for a quote, line breaks inside
// quotes).  A line may end in LF or CR LF.
class RowReader {
public:
    RowReader(std::istream& in, bool csv) : m_in(in), m_csv(csv) {}

    // The next record's fields; nullopt at the end.  A record of more than
    // kMaxRecordBytes sets tooLong and stops the reading.
    std::optional<std::vector<std::string>> next() {
        while (!m_done) {
            std::vector<std::string> fields(1);
            std::size_t bytes = 0;
            bool quoted = false;
            bool any = false;
            for (;;) {
                const int c = m_in.rdbuf()->sbumpc();
                if (c == EOF) {
                    m_done = true;
                    break;
                }
                any = true;
                if (++bytes > kMaxRecordBytes) {
                    m_done = true;
                    tooLong = true;
                    return std::nullopt;
                }
                const char ch = static_cast<char>(c);
                if (m_csv && quoted) {
                    if (ch == '"') {
                        if (m_in.rdbuf()->sgetc() == '"')
                            fields.back().push_back(static_cast<char>(m_in.rdbuf()->sbumpc()));
                        else
                            quoted = false;
                    } else {
                        fields.back().push_back(ch);
                    }
                    continue;
                }
                if (ch == '\n')
                    break;
                if (m_csv && ch == '"')
                    quoted = true;
                else if (m_csv && ch == ',')
                    fields.emplace_back();
                else
                    fields.back().push_back(ch);
            }
            ++m_records;
            for (std::string& f : fields)
                if (!f.empty() && f.back() == '\r')
                    f.pop_back();
            if (m_records == 1 && !fields[0].empty() && fields[0].rfind("\xEF\xBB\xBF", 0) == 0)
                fields[0].erase(0, 3);  // a byte order mark from a spreadsheet
            if (!any)
                return std::nullopt;
            if (fields.size() == 1 && fields[0].empty())
                continue;  // blank line
            return fields;
        }
        return std::nullopt;
    }

    bool tooLong = false;

private:
    std::istream& m_in;
    bool m_csv;
    bool m_done = false;
    long long m_records = 0;
};

int columnIndex(const std::vector<std::string>& header, const std::string& name) {
    const auto lower = [](std::string s) {
        for (char& c : s)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return s;
    };
    for (std::size_t i = 0; i < header.size(); ++i)
        if (lower(header[i]) == lower(name))
            return static_cast<int>(i);
    return -1;
}

// ---- progress and reports -------------------------------------------------

// Reports failed rows in row order, whatever order the threads finish them
// in, and keeps a progress bar on a terminal.
class Reporter {
public:
    Reporter(long long expectedRows, bool progress) : m_expected(expectedRows), m_progress(progress) {}

    // A row written whose check with --verify failed comes with
    // `unverified` set and the reason as its message.
    void finished(long long row, std::string error, bool unverified = false) {
        std::lock_guard lock(m_mutex);
        m_pending.emplace(row, std::pair(std::move(error), unverified));
        while (!m_pending.empty() && m_pending.begin()->first == m_next) {
            const auto& [message, failedCheck] = m_pending.begin()->second;
            if (failedCheck) {
                ++written;
                ++notVerified;
                clearBar();
                std::cerr << "halvex-barcode batch: row " << m_next << ": " << message << '\n';
            } else if (message.empty()) {
                ++written;
            } else {
                ++failed;
                clearBar();
                std::cerr << "halvex-barcode batch: row " << m_next << ": " << message << '\n';
            }
            m_pending.erase(m_pending.begin());
            ++m_next;
        }
        drawBar(false);
    }

    void fatal(const std::string& message) {
        std::lock_guard lock(m_mutex);
        clearBar();
        std::cerr << "halvex-barcode batch: " << message << '\n';
        ++failed;
    }

    void end() {
        std::lock_guard lock(m_mutex);
        clearBar();
    }

    long long written = 0;
    long long failed = 0;
    long long notVerified = 0;  // written, but not scanning as the value

private:
    void clearBar() {
        if (m_progress && m_barShown) {
            std::cerr << "\r\033[K" << std::flush;
            m_barShown = false;
        }
    }

    void drawBar(bool force) {
        if (!m_progress)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (!force && m_barShown && now - m_lastDraw < std::chrono::milliseconds(100))
            return;
        m_lastDraw = now;
        const long long done = m_next - 1;
        constexpr int kWidth = 40;
        const long long total = std::max(m_expected, done);
        const int filled = total > 0 ? static_cast<int>(kWidth * done / total) : 0;
        std::cerr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << done << '/'
                  << total << std::flush;
        m_barShown = true;
    }

    std::mutex m_mutex;
    std::map<long long, std::pair<std::string, bool>> m_pending;
    long long m_next = 1;
    long long m_expected;
    bool m_progress;
    bool m_barShown = false;
    std::chrono::steady_clock::time_point m_lastDraw;
};

// Lines in a regular file, for the progress bar's total.
long long countLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    long long lines = 0;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        lines += std::count(buffer, buffer + in.gcount(), '\n');
        if (!in)
            break;
    }
    return lines;
}

// ---- the run --------------------------------------------------------------

class Batch {
public:
    Batch(const BatchOptions& options, const PicturePlan& plan, const Pattern& pattern, OutputFormat format,
          std::istream& in, Reporter& reporter)
        : m_options(options), m_plan(plan), m_pattern(pattern), m_format(format),
          m_reader(in, !options.column.empty()), m_reporter(reporter) {}

    // Reads the CSV header; a usage error when the column is missing.
    void readHeader() {
        if (m_options.column.empty())
            return;
        const auto header = m_reader.next();
        if (!header)
            throw CLI::ValidationError("--input", m_options.input + " has no header line");
        m_valueColumn = columnIndex(*header, m_options.column);
        if (m_valueColumn < 0)
            throw CLI::ValidationError("--column", "no column '" + m_options.column + "' in the header of " +
                                                       m_options.input);
        m_line1Column = columnIndex(*header, "line1");
        m_line2Column = columnIndex(*header, "line2");
    }

    void work() {
        while (auto row = nextRow()) {
            bool unverified = false;
            if (row->error.empty())
                row->error = draw(*row, unverified);
            m_reporter.finished(row->number, std::move(row->error), unverified);
        }
    }

private:
    std::optional<Row> nextRow() {
        std::lock_guard lock(m_readMutex);
        auto fields = m_reader.next();
        if (!fields) {
            if (m_reader.tooLong && !m_reportedTooLong) {
                m_reportedTooLong = true;
                m_reporter.fatal("after row " + std::to_string(m_rows) + ": a record longer than " +
                                 std::to_string(kMaxRecordBytes) +
                                 " bytes (a quote never closed?); the rest of the input is skipped");
            }
            return std::nullopt;
        }
        Row row;
        row.number = ++m_rows;
        if (m_options.column.empty()) {
            row.value = std::move((*fields)[0]);
        } else {
            if (static_cast<std::size_t>(m_valueColumn) >= fields->size()) {
                row.error = "no field for column '" + m_options.column + "'";
                return row;
            }
            row.value = (*fields)[m_valueColumn];
            if (m_line1Column >= 0 && static_cast<std::size_t>(m_line1Column) < fields->size())
                row.line1 = (*fields)[m_line1Column];
            if (m_line2Column >= 0 && static_cast<std::size_t>(m_line2Column) < fields->size())
                row.line2 = (*fields)[m_line2Column];
        }
        row.path = expand(m_pattern, row.number, row.value);
        if (!m_pattern.hasRow) {
            // Rows are numbered here in file order, so which row claims a
            // name first does not depend on the threads.
            const auto [it, fresh] = m_names.emplace(row.path, row.number);
            if (!fresh)
                row.error = "file name " + row.path + " is row " + std::to_string(it->second) + "'s already";
        }
        return row;
    }

    std::string draw(const Row& row, bool& unverified) {
        PicturePlan plan = m_plan;
        plan.inputs.value = row.value;
        if (row.line1)
            plan.inputs.line1 = *row.line1;
        if (row.line2)
            plan.inputs.line2 = *row.line2;
        try {
            const std::string bytes = encodePicture(plan, m_format);
            if (m_pattern.folderVaries) {
                std::error_code ec;
                fs::create_directories(fs::path(row.path).parent_path(), ec);
            }
            replaceFile(row.path, bytes, Durability::Unflushed);
            if (m_options.verify) {
                const ScanResult scan = verifyPicture(plan, m_format, row.path);
                if (scan.outcome != ScanOutcome::Scans) {
                    unverified = true;
                    return row.path + ": " + describeScan(scan);
                }
            }
        } catch (const EBarcodeError& e) {
            return e.what();
        } catch (const ImageWriteError& e) {
            return std::string(e.what()) + ": " + e.reason();
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }

    const BatchOptions& m_options;
    const PicturePlan& m_plan;
    const Pattern& m_pattern;
    OutputFormat m_format;
    std::mutex m_readMutex;
    RowReader m_reader;
    Reporter& m_reporter;
    int m_valueColumn = -1;
    int m_line1Column = -1;
    int m_line2Column = -1;
    long long m_rows = 0;
    bool m_reportedTooLong = false;
    std::map<std::string, long long> m_names;
};

int runBatch(const BatchOptions& options) {
    const Pattern pattern = parsePattern(options.output);
    const auto format = outputFormatOf(options.output);
    if (!format)
        throw CLI::ValidationError("--output", "the output pattern must end in " + std::string(kAcceptedExtensions) +
                                                   ": '" + options.output + "'");
    std::string warning;
    const PicturePlan plan = planPicture(options.picture, warning);
    if (!warning.empty())
        std::cerr << "halvex-barcode batch: warning: " << warning << '\n';

    const bool fromStdin = options.input == "-";
    std::ifstream file;
    if (!fromStdin) {
        std::error_code ec;
        if (fs::is_directory(options.input, ec))
            throw CLI::ValidationError("--input", options.input + " is a folder");
        file.open(options.input, std::ios::binary);
        if (!file)
            throw CLI::ValidationError("--input", "cannot read " + options.input);
    }
    std::istream& in = fromStdin ? std::cin : file;

    if (!pattern.folderVaries) {
        const fs::path folder = fs::path(options.output).parent_path();
        std::error_code ec;
        if (!folder.empty() && !fs::is_directory(folder, ec) && !fs::create_directories(folder, ec))
            throw CLI::ValidationError("--output", "cannot make the folder " + folder.string() + ": " + ec.message());
    }

    const bool progress = ::isatty(STDERR_FILENO) == 1;
    long long expected = 0;
    if (progress && !fromStdin && fs::is_regular_file(options.input))
        expected = countLines(options.input) - (options.column.empty() ? 0 : 1);

    // Every row allocates and frees a picture of the same size; keep the
    // freed memory for the next one instead of handing it back to the
    // system and faulting it in again each time.
    ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
    ::mallopt(M_MMAP_THRESHOLD, 64 << 20);

    const auto app = ensureGuiApplication();
    Reporter reporter(expected, progress);
    Batch batch(options, plan, pattern, *format, in, reporter);
    batch.readHeader();

    const auto start = std::chrono::steady_clock::now();
    unsigned jobs = options.jobs;
    if (jobs == 0)
        jobs = std::max(1u, std::thread::hardware_concurrency());
    jobs = std::min<unsigned>(jobs, kMaxJobs);
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < jobs; ++i)
        threads.emplace_back([&batch] { batch.work(); });
    batch.work();
    for (std::thread& t : threads)
        t.join();
    reporter.end();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char summary[200];
    if (options.verify)
        std::snprintf(summary, sizeof summary, "%lld written, %lld failed, %lld verified, %lld not verified, %.2f s, %.0f symbols/s\n",
                      reporter.written, reporter.failed, reporter.written - reporter.notVerified,
                      reporter.notVerified, seconds, seconds > 0 ? reporter.written / seconds : 0.0);
    else
        std::snprintf(summary, sizeof summary, "%lld written, %lld failed, %.2f s, %.0f symbols/s\n", reporter.written,
                      reporter.failed, seconds, seconds > 0 ? reporter.written / seconds : 0.0);
    std::cout << summary << std::flush;
    if (reporter.failed > 0)
        return kSomeFailed;
    return reporter.notVerified > 0 ? kSomeDoNotScan : kAllWritten;
}

}  // namespace

void addBatchCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<BatchOptions>();
    CLI::App* batch = app.add_subcommand("batch", "Draw one barcode picture for every row of a list or CSV file");
    batch->description(
        "Draw one barcode picture for every row of FILE: a plain list (one value a line) or, with\n"
        "--column, a CSV file with a header line whose column NAME holds the values; columns named\n"
        "line1 and line2, when present, give each row its own text lines.  Blank lines are skipped\n"
        "and not numbered.  PATTERN names the files: {n} is the row number (1 for the first value),\n"
        "{n:05} the same padded with zeros to 5 digits, {value} the value with every character other\n"
        "than letters, digits, '.', '-' and '_' made '_'.  Its extension picks the format, as for render.\n"
        "\n"
        "A row that fails (a value the symbology cannot take, a file that cannot be written) is\n"
        "reported on standard error with its row number and skipped; the rest go on.  A progress bar\n"
        "shows on standard error when it is a terminal; a one-line summary ends the run on standard\n"
        "output.  The files are the same for any number of --jobs.\n"
        "With --verify every written picture is read back with a barcode decoder, as render --verify\n"
        "does; a row that does not scan as its value is reported (its file stays) and the summary\n"
        "counts the verified and the not verified pictures.\n"
        "Exit status: 0 every row written (and verified), 1 one or more rows failed, 2 usage error\n"
        "(nothing written), 3 every row written but one or more not verified.");
    batch->footer(
        "\nExamples:\n"
        "  seq 10000000 10009999 > values.txt\n"
        "  halvex-barcode batch -t Code128B -i values.txt -o out/{n:05}.png --modul 2\n"
        "  halvex-barcode batch -t EAN13 -i stock.csv --column ean -o labels/{value}.pdf --quiet-zone");
    batch->add_option("-i,--input", options->input, "FILE of values, one a line, or CSV with --column; - reads standard input")
        ->required()
        ->type_name("FILE");
    batch->add_option("-o,--output", options->output, "PATTERN of the file names, e.g. out/{n:05}.png")
        ->required()
        ->type_name("PATTERN");
    batch->add_option("-c,--column", options->column, "Read FILE as CSV and take the values from column NAME")
        ->type_name("NAME");
    batch->add_option("-j,--jobs", options->jobs, "Threads to draw with (default: one per processor core)")
        ->type_name("N")
        ->check(CLI::Range(1, kMaxJobs));
    batch->add_flag("--verify", options->verify,
                    "Read every written picture back with a decoder; count those that do not scan as their value");
    addPictureOptions(*batch, options->picture);
    batch->callback([options, &exitCode] {
        exitCode = runBatch(*options);
    });
}
