#include "driver/DriverPrinters.h"

#include <gtest/gtest.h>

#include "driver/DriverPrinter.h"
#include "driver/FakeSpooler.h"

namespace korventa {
namespace {

using test::FakeSpooler;

TEST(EnumDriverPrinters, ListsExactModelOnlySortedByCodeUnitsWithoutDuplicates) {
    FakeSpooler spooler({{u"office", u"Veltrix PDF Pro"},
                         {u"Zeta", u"Veltrix PDF Pro"},
                         {u"other", u"Veltrix PDF Pro 2"},
                         {u"lower", u"veltrix pdf pro"},
                         {u"everywhere", u"Veltrix PDF Pro - IPP Everywhere"},
                         {u"Alpha", u"Veltrix PDF Pro"},
                         {u"office", u"Veltrix PDF Pro"}});
    EXPECT_EQ(EnumDriverPrinters(spooler), (std::set<WString>{u"Alpha", u"Zeta", u"office"}));
    EXPECT_EQ(*EnumDriverPrinters(spooler).begin(), u"Alpha");
}

TEST(ResolveDriverPrinter, ProductNameMeansTheFirstDriverQueueAndNamesIgnoreLetterCase) {
    const std::set<WString> queues{u"Alpha", u"Veltrix_PDF_Pro"};
    EXPECT_EQ(resolveDriverPrinter(u"Veltrix PDF Pro", queues), u"Alpha");
    EXPECT_EQ(resolveDriverPrinter(u"veltrix_pdf_PRO", queues), u"Veltrix_PDF_Pro");
    EXPECT_EQ(resolveDriverPrinter(u"alpha", queues), u"Alpha");
    // Nothing to resolve to: the setting is passed on, and the print then says so.
    EXPECT_EQ(resolveDriverPrinter(u"Veltrix PDF Pro", {}), u"Veltrix PDF Pro");
    EXPECT_EQ(resolveDriverPrinter(u"Beta", queues), u"Beta");
    EXPECT_EQ(resolveDriverPrinter(u"Alph", queues), u"Alph");
}

TEST(DriverPrinter, RefusesQueueUnknownToSpooler) {
    FakeSpooler spooler(std::vector<PrinterInfo>{{u"office", u"Veltrix PDF Pro"}});
    DriverPrinter printer;
    EXPECT_FALSE(DriverPrinter::open(spooler, u"Office", printer));
    EXPECT_FALSE(printer.isOpen());
    EXPECT_EQ(printer.handle(), nullptr);
}

TEST(DriverPrinter, HandleStaysValidWhenPrinterIsMoved) {
    FakeSpooler spooler(std::vector<PrinterInfo>{{u"office", u"Veltrix PDF Pro"}});
    DriverPrinter opened;
    ASSERT_TRUE(DriverPrinter::open(spooler, u"office", opened));
    const DriverPrinter printer = std::move(opened);

    const VeltPrinterHandle handle = printer.handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->size, sizeof(VeltPrinter));
    EXPECT_EQ(handle->version, static_cast<std::uint32_t>(VELT_PRINTER_VERSION_1));
    EXPECT_EQ(WString(handle->printerName), u"office");
}

}  // namespace
}  // namespace korventa
