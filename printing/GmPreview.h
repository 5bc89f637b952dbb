#pragma once
// TGmPreview: the print document shown page by page at a zoom, with the
// operations the print preview window drives (paging, zoom, margins,
// printing a page range on the current printer).

#include "GmDocument.h"
#include "GmPrinter.h"

#include <QScrollArea>

class TGmPageView;

class TGmPreview : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int MinZoom = 5;
    static constexpr int MaxZoom = 400;
    static constexpr int ZoomIncrement = 10;

    explicit TGmPreview(QWidget* parent = nullptr);

    // Empties the document: one blank page, which becomes the current page.
    void Clear();
    // Appends a blank page and makes it current; returns its number.
    int NewPage();

    TGmMargins& GetMargins() { return document.Margins(); }
    TGmHeaderFooter& Header() { return document.Header(); }
    TGmHeaderFooter& Footer() { return document.Footer(); }
    TGmDocument& Document() { return document; }
    const TGmDocument& Document() const { return document; }
    // Draws on the current page.
    TGmCanvas* GetCanvas() { return &canvas; }
    TGmPrinter* GetGmPrinter() { return printer; }

    int GetNumPages() const { return document.PageCount(); }
    int GetCurrentPageNum() const { return currentPage; }
    // Moves outside 1..GetNumPages() are ignored.
    void FirstPage() { SetCurrentPageNum(1); }
    void PrevPage();
    void NextPage();
    void LastPage() { SetCurrentPageNum(GetNumPages()); }
    void SetCurrentPageNum(int page);

    int GetZoom() const { return zoom; }
    // Kept within MinZoom..MaxZoom.
    void SetZoom(int percent);

    // Prints the pages between `from` and `to` that exist, in ascending
    // order, on the current printer; see TGmPrinter::Print.
    int PrintRange(int from, int to) { return printer->Print(document, from, to); }

signals:
    void currentPageChanged(int page);
    void zoomChanged(int percent);

private:
    friend class TGmPageView;
    void relayout();

    TGmDocument document;
    int currentPage = 1;
    int zoom = 100;
    TGmCanvas canvas{document, currentPage};
    TGmPrinter* printer = &TGmPrinter::Shared();
    TGmPageView* view = nullptr;
};
