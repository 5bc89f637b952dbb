#include "VectorPicture.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

std::string bytesOf(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

std::string encodeSvg(const PictureInputs& inputs, TKelBarcode& barcode, int dpi) {
    const PictureLayout layout = layoutPicture(inputs, barcode);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(layout.width, layout.height));
    svg.setViewBox(QRect(0, 0, layout.width, layout.height));
    svg.setResolution(dpi);
    svg.setTitle(QStringLiteral("Barcode"));
    {
        QPainter painter(&svg);
        paintPicture(layout, inputs, barcode, painter, true);
    }
    return bytesOf(bytes);
}

std::string encodePdf(const PictureInputs& inputs, TKelBarcode& barcode, int dpi) {
    const PictureLayout layout = layoutPicture(inputs, barcode);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Halvex Barcode"));
        pdf.setTitle(QStringLiteral("Barcode"));
        pdf.setResolution(dpi);
        const QSizeF pageMM(layout.width * 25.4 / dpi, layout.height * 25.4 / dpi);
        pdf.setPageLayout(QPageLayout(QPageSize(pageMM, QPageSize::Millimeter, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter(&pdf);
        paintPicture(layout, inputs, barcode, painter, true);
    }
    return bytesOf(bytes);
}
