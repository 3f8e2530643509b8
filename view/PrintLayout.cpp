#include "view/PrintLayout.h"

#include <QMarginsF>
#include <QPageSize>
#include <QSizeF>

namespace korventa {
namespace {

constexpr double kDefaultMarginMillimetres = 10.0;

}  // namespace

void ApplyPrintSettings(const PdfPrintSettings& settings, QPageLayout& layout) {
    const QPageSize size(QSizeF(settings.pageWidth, settings.pageHeight), QPageSize::Inch,
                         QString(), QPageSize::ExactMatch);
    const QMarginsF margins(kDefaultMarginMillimetres, kDefaultMarginMillimetres,
                            kDefaultMarginMillimetres, kDefaultMarginMillimetres);
    layout = QPageLayout(size, QPageLayout::Portrait, margins, QPageLayout::Millimeter);
}

}  // namespace korventa
