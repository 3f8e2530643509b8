// The one top-level window: the ribbon across the top, the browser view filling the rest. It
// runs the creation sequence (settings, printers, driver texts, view, ribbon), hands every
// ribbon command to FrameCommands and saves the converter settings and its own placement when
// it closes. Owns the view, the ribbon and the driver library; the prompts, spooler, failure
// reporter and layered settings belong to the application and outlive it. GUI thread only.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/CheckFailure.h"
#include "app/UserPrompts.h"
#include "driver/DriverLibrary.h"
#include "driver/LayeredSettings.h"
#include "frame/FrameCommands.h"
#include "frame/FrameView.h"
#include "frame/QtAddressBox.h"
#include "frame/QtPrinterBox.h"
#include "frame/QtTextField.h"
#include "platform/spooler/PrintSpooler.h"

namespace korventa {

class CEdgeView;
class FinishedJobWatcher;
class JobStatusBar;
class RibbonBar;

class CMainFrame final : public QMainWindow, private FrameView {
    Q_OBJECT

public:
    CMainFrame(FailureReporter& failures, UserPrompts& prompts, PrintSpooler& spooler,
               LayeredSettings& layers);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The one dispatch of ribbon commands (also the About command); the enabling and check
    // states are refreshed after each.
    void onCommand(int id, int notificationCode);
    // Puts a value into a ribbon element as the user would; false when it takes none.
    bool setElementValue(int id, const QString& value);
    void OpenAddress(WStringView path);
    void StartApplicationMode(WStringView name);

    [[nodiscard]] CEdgeView* view() const { return view_; }
    // The page has loaded and no conversion, print or post-processing of this process is
    // under way.
    [[nodiscard]] bool isIdle() const;
    // The same without waiting for the driver's post-processing.
    [[nodiscard]] bool isReady() const;
    // Runs JavaScript in the displayed page as a user's own action would (test scripts);
    // `done` runs once the page has answered, after what the script logged has arrived.
    void runInPage(const WString& script, std::function<void()> done);
    // Sets a check box command to `on` through the dispatcher, as a click would.
    void setSwitch(int id, bool on);
    [[nodiscard]] FrameCommands& commands() { return commands_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    RequestState& requestState() override;
    void InitializeWebView() override;
    void NavigateCurrent() override;
    bool StartPdfPrint() override;
    bool takePrintingSlot() override;
    bool isBusy() const override;
    void RunConversionScript(const WString& script) override;

    void createRibbon();
    void createStatusBar();
    void handlePrintFinished();
    void applyDriverLabels(const std::map<std::uint32_t, WString>& labels);
    void restorePlacement();
    void savePlacement() const;
    void updateCommandStates();

    FrameCommands commands_;
    DriverLibrary driver_;
    CEdgeView* view_ = nullptr;    // central widget, owned by the window
    RibbonBar* ribbon_ = nullptr;  // menu widget, owned by the window
    JobStatusBar* status_ = nullptr;         // owned by the window
    FinishedJobWatcher* jobWatcher_ = nullptr;  // owned by the window
    std::optional<QtPrinterBox> printerBox_;
    std::optional<QtTextField> classNameBox_;
    std::optional<QtAddressBox> addressBox_;
};

}  // namespace korventa
