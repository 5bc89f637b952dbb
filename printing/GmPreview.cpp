#include "GmPreview.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

// The sheet of the current page on a grey desk.
class TGmPageView : public QWidget {
public:
    explicit TGmPageView(TGmPreview& preview) : preview(preview) {}

    static constexpr int desk = 12;   // grey border around the sheet, in pixels

    double pixelsPerMm() const { return logicalDpiX() / 25.4 * preview.GetZoom() / 100.0; }
    QSize sheetSize() const
    {
        const QSizeF paper = preview.Document().PaperSizeMm();
        return QSize(qRound(paper.width() * pixelsPerMm()), qRound(paper.height() * pixelsPerMm()));
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(128, 128, 128));
        const QRect sheet(QPoint(desk, desk), sheetSize());
        painter.fillRect(sheet.translated(3, 3), QColor(64, 64, 64));
        painter.fillRect(sheet, Qt::white);
        painter.setClipRect(sheet & event->rect());
        painter.translate(sheet.topLeft());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        preview.Document().RenderPage(painter, preview.GetCurrentPageNum(), pixelsPerMm(),
                                      preview.Document().PaperSizeMm());
    }

private:
    TGmPreview& preview;
};

TGmPreview::TGmPreview(QWidget* parent) : QScrollArea(parent)
{
    TGmHeaderFooter& footer = document.Footer();
    footer.Visible = true;
    footer.CaptionCenter = QStringLiteral("Page {PAGE} of  {NUMPAGES}");
    footer.Font = QFont(QStringLiteral("Arial"));
    footer.Font.setPointSizeF(10.0);
    document.Header().Visible = false;

    view = new TGmPageView(*this);
    setWidget(view);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    relayout();
}

void TGmPreview::Clear()
{
    document.Clear();
    currentPage = 1;
    view->update();
    emit currentPageChanged(currentPage);
}

int TGmPreview::NewPage()
{
    SetCurrentPageNum(document.AddPage());
    return currentPage;
}

void TGmPreview::PrevPage()
{
    if (currentPage > 1)
        SetCurrentPageNum(currentPage - 1);
}

void TGmPreview::NextPage()
{
    if (currentPage < GetNumPages())
        SetCurrentPageNum(currentPage + 1);
}

void TGmPreview::SetCurrentPageNum(int page)
{
    if (page < 1 || page > GetNumPages() || page == currentPage)
        return;
    currentPage = page;
    view->update();
    emit currentPageChanged(currentPage);
}

void TGmPreview::SetZoom(int percent)
{
    const int clamped = std::clamp(percent, MinZoom, MaxZoom);
    if (clamped == zoom)
        return;
    zoom = clamped;
    relayout();
    emit zoomChanged(zoom);
}

void TGmPreview::relayout()
{
    const QSize sheet = view->sheetSize();
    view->resize(sheet + QSize(2 * TGmPageView::desk, 2 * TGmPageView::desk));
    view->update();
}
