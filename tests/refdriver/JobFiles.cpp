#include "refdriver/JobFiles.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <fstream>
#include <sstream>

namespace korventa::test {

std::string onePagePdf() {
    QPDF pdf;
    pdf.emptyPDF();
    pdf.addPage(pdf.makeIndirectObject(QPDFObjectHandle::parse(
                    "<< /Type /Page /MediaBox [0 0 595 842] /Resources << >> >>")),
                false);
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.write();
    const auto buffer = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace korventa::test
