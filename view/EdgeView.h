// The child widget that hosts the browser: creates its environment (profile) and page
// asynchronously, owns the feature components and the request state, opens addresses with
// their repairs, runs posted work later on the window thread and prints the page into jobs
// for the driver. Owns the environment, the page, the browser widget, the components and the
// instance identity with its printing slot; everything runs on the one GUI thread.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/CheckFailure.h"
#include "app/UserPrompts.h"
#include "components/AsyncRunner.h"
#include "components/ComponentBase.h"
#include "core/Status.h"
#include "core/Text.h"
#include "driver/DriverLibrary.h"
#include "platform/spooler/PrintSpooler.h"
#include "print/InstanceIdentity.h"
#include "print/LibraryJobDriver.h"
#include "print/PdfPrintSettings.h"
#include "print/PrintJobWriter.h"
#include "print/PrintingSlot.h"
#include "print/RegistryJobRecordStore.h"
#include "view/AddressNavigator.h"
#include "view/BrowserSeam.h"
#include "view/RequestState.h"

class QByteArray;
class QPageLayout;
class QUrl;
class QVariant;
class QWebChannel;
class QWebEnginePage;
class QWebEngineView;

namespace korventa {

class BrowserEnvironment;
class PageMessageBridge;
class WebPage;

class CEdgeView : public QWidget, public AsyncRunner, private BrowserSeam {
    Q_OBJECT

public:
    // The spooler must outlive the view; the view keeps its own copy of the driver library.
    CEdgeView(FailureReporter& failures, UserPrompts& prompts, PrintSpooler& spooler,
              const DriverLibrary& driver, QWidget* parent = nullptr);
    ~CEdgeView() override;

    // Starts (or restarts) browser creation and returns at once; creation completes from the
    // event loop, and `browserReady` is emitted once the first navigation was asked.
    void InitializeWebView();
    // Opens requestState().currentAddress with the repairs; nothing without a browser.
    void NavigateCurrent();
    // S_OK, or E_INVALIDARG when every form of the text was refused or there is no browser.
    [[nodiscard]] HResult NavigateTo(WStringView address);
    // Runs `callable` once, later, from the event loop; never if the view is gone first.
    void RunAsync(std::function<void()> callable) override;
    // The same for work coming from page messages, on its own event type.
    void RunWebMessageAsync(std::function<void()> callable);

    // Asks the browser to print the page on the chosen printer's paper; the job is written
    // when the PDF arrives. False, with the printing slot given back, when there is no
    // loaded browser or a print is already under way (the browser would drop one of them).
    bool StartPdfPrint();
    // Prints the page as StartPdfPrint does, but hands the PDF to `done` instead of writing
    // a job; false when there is no loaded browser or a print is already under way.
    bool PrintToBytes(std::function<void(const QByteArray& pdf)> done);
    // Writes a job of the page from a PDF printed earlier (or a part of one), with the request
    // state as it is now, as a print's completion does; the job key name, or empty when the
    // driver prepared no job.
    WString WritePrintedJob(const QByteArray& pdf);
    // The page has loaded, no print is under way and the printing slot is free.
    [[nodiscard]] bool isReady() const;
    // Ready, and no post-processing of this process is running either.
    [[nodiscard]] bool isIdle() const;
    // The slot's timed take; a conversion request runs only with it.
    [[nodiscard]] bool takePrintingSlot() { return printingSlot_.take(); }
    // Runs a conversion script in the displayed page; the request stays pending until the
    // page's result message, a failure, or the document is left.
    void RunConversionScript(const WString& script);
    // The page's result message, on the window thread: taken when `request` is the token of
    // the request that is waiting.
    void TakeConversionResult(const WString& message, const QUrl& source, const QString& request);

    // Prints completed so far, and the job key name of the last one (empty when the driver
    // prepared no job for it).
    [[nodiscard]] unsigned completedPrints() const { return completedPrints_; }
    [[nodiscard]] const WString& lastJobKeyName() const { return lastJobKeyName_; }
    // Ends a request that waits for its page, as if the page had failed; the user's way out
    // of a page that never answers.
    void cancelConversion();
    [[nodiscard]] bool isConversionPending() const { return !conversionToken_.isEmpty(); }
    // Ends the page's renderer process, and with it a script that never returns (the site's
    // next page would get the same process). Not while printing: the browser itself does not
    // survive the end of a renderer that prints. The next navigation starts a fresh renderer.
    void endRenderer();
    // From endRenderer until the browser has noticed the end; a navigation started meanwhile
    // would be lost with the old renderer.
    [[nodiscard]] bool isEndingRenderer() const { return endingRenderer_; }
    [[nodiscard]] bool isPrinting() const { return printing_; }
    [[nodiscard]] bool isBusy() const { return printing_ || printingSlot_.isHeld(); }

    [[nodiscard]] RequestState& requestState() { return requestState_; }
    [[nodiscard]] const InstanceIdentity& identity() const { return identity_; }
    [[nodiscard]] PrintingSlot& printingSlot() { return printingSlot_; }
    [[nodiscard]] bool hasBrowser() const { return page_ != nullptr; }
    // Null before the browser exists.
    [[nodiscard]] QWebEnginePage* page() const;
    // The user data folder; empty lets Qt choose.
    [[nodiscard]] const WString& dataFolder() const { return dataFolder_; }

signals:
    void browserReady();
    // A scripted request now waits for the page's result.
    void conversionStarted();
    // A request or print ended without a job, for the reason given.
    void requestEnded(const QString& reason);
    // The browser was asked for the PDF; the job key name it gets follows the counter.
    void printStarted();
    // A print completed and its job, if the driver prepared one, was handed off.
    void printFinished();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void dropBrowser();
    void OnEnvironmentCreated();
    void OnControllerCreated();
    void createComponents();
    void ResizeWebView();
    void RegisterWebMessageHandler();
    void installPageScripts();
    void OnWebMessage(const QString& text, bool isString, const QString& source,
                      const QString& request);
    void OnScriptCompleted(const QVariant& result, const QString& request);
    void OnPageRequestFailed(const QString& reason, const QString& request);
    // Ends the pending request without printing: the XML is dropped, the slot given back.
    void endConversion(const QString& reason);
    [[nodiscard]] bool isPendingRequest(const QString& request) const;
    void OnPostedCallable(QEvent& event);
    [[nodiscard]] HResult openInBrowser(const WString& address) override;
    [[nodiscard]] bool printLayout(QPageLayout& layout);
    void OnPdfStreamCompleted(const QByteArray& pdf, const WString& title,
                              const WString& address);
    void writeJob(const QByteArray& pdf, const WString& title, const WString& address);
    [[nodiscard]] WString documentTitle() const;

    FailureReporter& failures_;
    UserPrompts& prompts_;
    // Torn down by dropBrowser() in reverse: components (they hold the page), the browser
    // widget, the page, the channel it uses and last the environment the page was made with.
    std::unique_ptr<BrowserEnvironment> environment_;
    std::unique_ptr<QWebChannel> webChannel_;
    std::unique_ptr<PageMessageBridge> messageBridge_;
    std::unique_ptr<WebPage> page_;
    std::unique_ptr<QWebEngineView> browserWidget_;  // a child widget of this view
    std::vector<std::unique_ptr<ComponentBase>> components_;
    // Completions queued by an earlier InitializeWebView carry an older number and do nothing.
    unsigned creationNumber_ = 0;
    WString dataFolder_;
    RequestState requestState_;
    AddressNavigator navigator_;
    PrintSpooler& spooler_;
    DriverLibrary driver_;
    InstanceIdentity identity_;
    PrintingSlot printingSlot_;
    PdfPrintSettings printSettings_;
    LibraryJobDriver jobDriver_;
    RegistryJobRecordStore jobRecords_;
    PrintJobWriter jobWriter_;
    bool pageLoaded_ = false;
    bool printing_ = false;
    bool rendererGone_ = false;
    bool endingRenderer_ = false;
    unsigned completedPrints_ = 0;
    WString lastJobKeyName_;
    // The token of the scripted request waiting for its page's result, empty while none waits;
    // only a message stamped with it counts, whatever the document's address has become.
    QString conversionToken_;
    // Set while the view is torn down: a print that completes then writes no job.
    bool destroying_ = false;
};

}  // namespace korventa
