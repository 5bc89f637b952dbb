// Arbitrary bytes as a session in the print preview window: a document of
// 1 to 8 pages, then a script of paging, zoom, From-box and To-box entries
// and at most one print to the PDF printer, with any numbers and any typed
// text.  After every step the current page is a page of the document, the
// zoom lies in its range, and the user has only seen the window's own
// messages; a print puts exactly the pages of the range into the file.

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "../support/FakeDesktop.h"
#include "GmPrinter.h"
#include "PrintPreviewForm.h"
#include "StrToInt.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    bool done() const { return at >= size; }
    template <typename T>
    T take() {
        T value{};
        const std::size_t n = std::min(sizeof(T), size - at);
        std::memcpy(&value, data + at, n);
        at += n;
        return value;
    }
    // A length byte, then that many bytes as Latin-1 text.
    QString text() {
        const std::size_t n = std::min<std::size_t>(take<std::uint8_t>(), size - at);
        QString result = QString::fromLatin1(reinterpret_cast<const char*>(data) + at, static_cast<qsizetype>(n));
        at += n;
        return result;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

QApplication* application = nullptr;
QTemporaryDir* folder = nullptr;

void pressEnterInFrom(TPrintPreviewForm& form) {
    char key = 13;
    form.fromPageKeyPress(key);
    check(key == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    application = new QApplication(*argc, *argv);
    folder = new QTemporaryDir();
    // Print only ever on the PDF printer, the last one of the list.
    TGmPrinter& printer = TGmPrinter::Shared();
    printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    FakeDesktop desktop;
    const QString pdf = folder->filePath(QStringLiteral("out.pdf"));
    QFile::remove(pdf);
    auto form = std::make_unique<TPrintPreviewForm>(desktop);
    TGmPreview& preview = *form->GmPreview1;
    const int pages = 1 + in.take<std::uint8_t>() % 8;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            preview.NewPage();
        preview.GetCanvas()->Draw(10, 10, picture);
    }
    form->FormShow();
    check(preview.GetNumPages() == pages);
    bool printed = false;

    for (int step = 0; step < 64 && !in.done(); ++step) {
        const std::size_t messagesBefore = desktop.messages.size();
        const std::size_t errorsBefore = desktop.errors.size();
        const int pageBefore = preview.GetCurrentPageNum();
        switch (in.take<std::uint8_t>() % 12) {
        case 0: form->uFirstClick(); check(preview.GetCurrentPageNum() == 1); break;
        case 1: form->uPreviousClick(); break;
        case 2: form->uNextClick(); break;
        case 3: form->uLastClick(); check(preview.GetCurrentPageNum() == pages); break;
        case 4: form->zoomInClick(); break;
        case 5: form->zoomOutClick(); break;
        case 6: {
            const int percent = in.take<std::int32_t>();
            preview.SetZoom(percent);
            check(preview.GetZoom() == std::clamp(percent, TGmPreview::MinZoom, TGmPreview::MaxZoom));
            break;
        }
        case 7: {
            const int page = in.take<std::int32_t>();
            preview.SetCurrentPageNum(page);
            check(preview.GetCurrentPageNum() == (page >= 1 && page <= pages ? page : pageBefore));
            break;
        }
        case 8: {
            // Typed into the From box and entered: a page of the document
            // becomes current, a number outside gets its message, anything
            // else is ignored.
            form->fromPage->setText(in.text());
            const QString typed = form->fromPage->text();
            pressEnterInFrom(*form);
            const auto number = strToInt(typed.toLatin1().toStdString());
            if (number && *number >= 1 && *number <= pages) {
                check(preview.GetCurrentPageNum() == *number);
                check(form->statusPanelText(1) == QStringLiteral("Page: ") + QString::number(*number));
            } else {
                check(preview.GetCurrentPageNum() == pageBefore);
                const std::size_t shown = number ? 1 : 0;
                check(desktop.messages.size() == messagesBefore + shown);
                if (shown)
                    check(desktop.messages.back() ==
                          (*number < 1 ? "Page cannot be negative." : "Page exceeded."));
            }
            break;
        }
        case 9: form->toPage->setText(in.text()); break;
        case 10: {
            const int from = in.take<std::int32_t>(), to = in.take<std::int32_t>(), count = in.take<std::int32_t>();
            const auto [first, last] = GmPagesInRange(from, to, count);
            const long long low = std::min(from, to), high = std::max(from, to);
            check(first == std::max<long long>(low, 1) && last == std::min<long long>(high, count));
            break;
        }
        case 11: {
            if (printed)
                break;
            printed = true;
            desktop.saveAnswers.push_back(pdf.toStdString());
            form->printButtonClick();
            const auto from = strToInt(form->fromPage->text().toLatin1().toStdString());
            const auto to = strToInt(form->toPage->text().toLatin1().toStdString());
            if (!from || !to) {
                // The To box is read first; its complaint names its text.
                check(desktop.errors.size() == errorsBefore + 1);
                const QString bad = !to ? form->toPage->text() : form->fromPage->text();
                check(desktop.errors.back() == invalidIntegerMessage(bad.toLatin1().toStdString()));
                check(!QFile::exists(pdf));
                break;
            }
            check(desktop.errors.size() == errorsBefore);
            const auto [first, last] = GmPagesInRange(*from, *to, pages);
            check(QFile::exists(pdf) == (first <= last));
            break;
        }
        }
        const int current = preview.GetCurrentPageNum();
        check(current >= 1 && current <= pages);
        check(preview.GetZoom() >= TGmPreview::MinZoom && preview.GetZoom() <= TGmPreview::MaxZoom);
        for (const std::string& message : desktop.messages)
            check(message == "Page cannot be negative." || message == "Page exceeded.");
    }
    return 0;
}
