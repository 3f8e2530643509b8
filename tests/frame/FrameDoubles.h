// Test doubles for the frame's commands: a view that records calls, prompts that answer from
// a script, a spooler of fixed queues and plain ribbon controls.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/UserPrompts.h"
#include "frame/AddressBox.h"
#include "frame/FrameView.h"
#include "frame/PrinterBox.h"
#include "frame/TextField.h"
#include "platform/spooler/PrintSpooler.h"

namespace korventa::test {

class RecordingView : public FrameView {
public:
    RequestState& requestState() override { return state; }
    void InitializeWebView() override { ++initializeCalls; }
    void NavigateCurrent() override { navigated.push_back(state.currentAddress); }
    bool StartPdfPrint() override {
        printed.push_back(state);
        return true;
    }
    bool takePrintingSlot() override {
        if (slotHeld)
            return false;
        slotHeld = true;
        return true;
    }
    bool isBusy() const override { return slotHeld || printing; }
    void RunConversionScript(const WString& script) override {
        scripts.push_back({toUtf8(script), state});
        state.scriptsInjected = 1;
    }

    RequestState state;
    int initializeCalls = 0;
    std::vector<WString> navigated;  // currentAddress at each NavigateCurrent
    std::vector<RequestState> printed;  // the request state at each StartPdfPrint
    struct Run {
        std::string script;  // UTF-8
        RequestState state;  // as the script started
    };
    std::vector<Run> scripts;
    bool slotHeld = false;
    bool printing = false;
};

class ScriptedPrompts : public UserPrompts {
public:
    void show(const WString& text) override { failures.push_back(text); }
    PromptAnswer askYesNoCancel(const WString&, const WString&) override {
        return PromptAnswer::Cancel;
    }
    void showMessage(const WString& text) override { messages.push_back(text); }
    std::optional<WString> chooseFileToOpen(const std::vector<FileFilter>& filters) override {
        offeredFilters = filters;
        return fileAnswer;
    }
    std::optional<WString> choosePaper(const WString& printer,
                                       const std::vector<PaperChoice>& papers,
                                       const WString& current) override {
        paperPrinter = printer;
        offeredPapers = papers;
        offeredCurrent = current;
        ++paperDialogs;
        return paperAnswer;
    }
    void showAbout() override { ++aboutBoxes; }

    std::optional<WString> fileAnswer;
    std::optional<WString> paperAnswer;
    std::vector<FileFilter> offeredFilters;
    std::vector<PaperChoice> offeredPapers;
    WString paperPrinter;
    WString offeredCurrent;
    std::vector<WString> failures;
    std::vector<WString> messages;
    int paperDialogs = 0;
    int aboutBoxes = 0;
};

class FakeSpooler : public PrintSpooler {
public:
    bool localPrinters(std::vector<PrinterInfo>& out) override {
        out.clear();
        for (const auto& [name, papers] : queues) out.push_back({name, u"Veltrix PDF Pro"});
        return true;
    }
    bool hasPrinter(WStringView name) override { return queues.contains(WString(name)); }
    bool queuePapers(WStringView printer, QueuePapers& out) override {
        const auto found = queues.find(WString(printer));
        if (found == queues.end())
            return false;
        out.supported = found->second;
        const auto current = defaults.find(WString(printer));
        if (current != defaults.end())
            out.current = PaperSize{current->second, 0, 0};
        return true;
    }
    bool setDefaultPaper(WStringView printer, WStringView paperName) override {
        if (refuseWrites || !hasPrinter(printer))
            return false;
        defaults[WString(printer)] = WString(paperName);
        return true;
    }

    std::map<WString, std::vector<PaperSize>> queues;
    std::map<WString, WString> defaults;
    bool refuseWrites = false;
};

class ListAddressBox : public AddressBox {
public:
    void clearItems() override {
        items.clear();
        ++clears;
    }
    void addItem(const WString& text) override { items.push_back(text); }
    std::size_t itemCount() const override { return items.size(); }
    WString itemText(std::size_t index) const override { return items.at(index); }
    WString editText() const override { return edit; }
    void setEditText(const WString& text) override { edit = text; }

    std::vector<WString> items;
    WString edit;
    int clears = 0;
};

class ListPrinterBox : public PrinterBox {
public:
    void addItem(const WString& text) override { items.push_back(text); }
    void selectText(const WString& text) override {
        selected.reset();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] == text) {
                selected = i;
                return;
            }
        }
    }
    WString selectedText() const override { return selected ? items[*selected] : WString(); }

    std::vector<WString> items;
    std::optional<std::size_t> selected;
};

class PlainTextField : public TextField {
public:
    WString text() const override { return value; }
    void setText(const WString& text) override { value = text; }

    WString value;
};

}  // namespace korventa::test
