#include "frame/PrinterSettingsCommand.h"

namespace korventa {
namespace {

// Tenths of a millimetre as millimetres, with one decimal only where it is needed.
WString millimetres(int tenths) {
    const long long wide = tenths;
    const auto magnitude = static_cast<unsigned long long>(wide < 0 ? -wide : wide);
    WString text = wide < 0 ? u"-" : u"";
    text += decimalText(magnitude / 10);
    if (magnitude % 10 != 0)
        text += u"." + decimalText(magnitude % 10);
    return text;
}

// The size part of a self-describing media name ("iso_a4_210x297mm" gives "A4"); a name of
// another form is shown whole.
WString sizeName(const WString& mediaName) {
    const auto first = mediaName.find(u'_');
    const auto second = first == WString::npos ? first : mediaName.find(u'_', first + 1);
    if (second == WString::npos || second == first + 1)
        return mediaName;
    WString name = mediaName.substr(first + 1, second - first - 1);
    if (name[0] >= u'a' && name[0] <= u'z')
        name[0] = static_cast<char16_t>(name[0] - u'a' + u'A');
    return name;
}

}  // namespace

std::vector<PaperChoice> paperChoices(const std::vector<PaperSize>& papers) {
    std::vector<PaperChoice> choices;
    choices.reserve(papers.size());
    for (const auto& paper : papers) {
        choices.push_back({paper.name, sizeName(paper.name) + u" (" + millimetres(paper.width) +
                                           u" x " + millimetres(paper.height) + u" mm)"});
    }
    return choices;
}

void ShowPrinterSettings(PrintSpooler& spooler, UserPrompts& prompts, WStringView printerName) {
    if (!spooler.hasPrinter(printerName))
        return;
    QueuePapers papers;
    if (!spooler.queuePapers(printerName, papers) || papers.supported.empty())
        return;
    const WString printer(printerName);
    const auto chosen = prompts.choosePaper(printer, paperChoices(papers.supported),
                                            papers.current ? papers.current->name : WString());
    if (!chosen)
        return;
    if (!spooler.setDefaultPaper(printerName, *chosen)) {
        prompts.showMessage(u"The paper could not be stored for the printer \"" + printer + u"\".");
    }
}

}  // namespace korventa
