#include "view/EdgeView.h"

#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QPageLayout>
#include <QPointer>
#include <QResizeEvent>
#include <QUuid>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <string>

#include "components/ScriptComponent.h"
#include "components/SettingsComponent.h"
#include "components/WebPage.h"
#include "driver/InstanceOwners.h"
#include "view/BrowserAddress.h"
#include "view/BrowserEnvironment.h"
#include "view/DataFolder.h"
#include "view/PageCommandFilter.h"
#include "pagescripts/PageScripts.h"
#include "print/MemoryStream.h"
#include "print/PostActionWorker.h"
#include "view/PageMessageBridge.h"
#include "view/PostedCallableEvent.h"
#include "view/PrintLayout.h"
#include "view/ResultIntake.h"
#include "view/ViewComponent.h"

namespace korventa {
namespace {

QWebEngineScript documentScript(const QString& name, QWebEngineScript::ScriptWorldId world,
                                const QString& source) {
    QWebEngineScript script;
    script.setName(name);
    script.setWorldId(world);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(source);
    return script;
}

QString pageScriptText(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The JSON text of a script's result, as the page's runtime would give it: an invalid value
// (undefined, null, an exception) is "null", a promise arrives as an empty object.
QByteArray resultAsJson(const QVariant& result) {
    if (!result.isValid())
        return QByteArrayLiteral("null");
    const QByteArray list = QJsonDocument(QJsonArray{QJsonValue::fromVariant(result)})
                                .toJson(QJsonDocument::Compact);
    return list.mid(1, list.size() - 2);
}

}  // namespace

CEdgeView::CEdgeView(FailureReporter& failures, UserPrompts& prompts, PrintSpooler& spooler,
                     const DriverLibrary& driver, QWidget* parent)
    : QWidget(parent),
      failures_(failures),
      prompts_(prompts),
      dataFolder_(chooseDataFolder(currentFolderSources())),
      navigator_(*this),
      spooler_(spooler),
      driver_(driver),
      identity_(InstanceOwners::userFolder()),
      printingSlot_(identity_.instanceId()),
      jobDriver_(driver_, spooler_),
      jobWriter_(jobDriver_, jobRecords_) {}

CEdgeView::~CEdgeView() {
    destroying_ = true;
    dropBrowser();
}

void CEdgeView::InitializeWebView() {
    dropBrowser();
    const HResult status = BrowserEnvironment::prepareDataFolder(dataFolder_);
    if (failed(status)) {
        prompts_.showMessage(u"Failed to create webview environmen, HRESULT is : " +
                             fromUtf8(std::to_string(status)) + u"! ");
        return;
    }
    const unsigned number = ++creationNumber_;
    QMetaObject::invokeMethod(
        this,
        [this, number] {
            if (number == creationNumber_)
                OnEnvironmentCreated();
        },
        Qt::QueuedConnection);
}

void CEdgeView::dropBrowser() {
    for (std::unique_ptr<ComponentBase>& component : components_) component.reset();
    components_.clear();
    browserWidget_.reset();
    page_.reset();
    webChannel_.reset();
    messageBridge_.reset();
    environment_.reset();
}

void CEdgeView::OnEnvironmentCreated() {
    environment_ = std::make_unique<BrowserEnvironment>(dataFolder_);
    const unsigned number = creationNumber_;
    QMetaObject::invokeMethod(
        this,
        [this, number] {
            if (number == creationNumber_)
                OnControllerCreated();
        },
        Qt::QueuedConnection);
}

void CEdgeView::OnControllerCreated() {
    page_ = std::make_unique<WebPage>(&environment_->profile(), nullptr);
    page_->settings()->setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
    // Leaving or reloading the document ends a request that waits for its result. A new
    // document carries none of the old one's scripts, whoever started the navigation (a
    // link, a page script), so the next request sends them all again.
    connect(page_.get(), &QWebEnginePage::loadStarted, this, [this] {
        pageLoaded_ = false;
        requestState_.scriptsInjected = 0;
        if (isConversionPending())
            endConversion(tr("The page was left before it gave its result."));
    });
    // The document went with its renderer: nothing can be run or printed until a new load.
    connect(page_.get(), &QWebEnginePage::renderProcessTerminated, this, [this] {
        rendererGone_ = true;
        endingRenderer_ = false;
        pageLoaded_ = false;
    });
    connect(page_.get(), &QWebEnginePage::loadFinished, this, [this] { pageLoaded_ = true; });
    browserWidget_ = std::make_unique<QWebEngineView>(this);
    browserWidget_->setPage(page_.get());
    browserWidget_->show();
    createComponents();
    // Page messages must be in place before the first document is created.
    RegisterWebMessageHandler();
    const WString& address = requestState_.currentAddress;
    const HResult status = NavigateTo(address.empty() ? AddressNavigator::kHomePage : address);
    if (status == S_OK)
        ResizeWebView();
    emit browserReady();
}

void CEdgeView::createComponents() {
    components_.push_back(std::make_unique<ScriptComponent>(*page_, failures_));
    components_.push_back(std::make_unique<SettingsComponent>(*page_, environment_->profile(),
                                                              *this, prompts_, failures_));
    components_.push_back(std::make_unique<ViewComponent>(*browserWidget_));
}

void CEdgeView::ResizeWebView() {
    for (const std::unique_ptr<ComponentBase>& component : components_) {
        if (auto* view = dynamic_cast<ViewComponent*>(component.get())) {
            view->setBounds(rect());
            return;
        }
    }
}

void CEdgeView::RegisterWebMessageHandler() {
    // Page messages travel over a channel that lives in the isolated world, out of the
    // page's own scripts' reach; the receiving objects are registered on it separately.
    webChannel_ = std::make_unique<QWebChannel>();
    messageBridge_ = std::make_unique<PageMessageBridge>();
    connect(messageBridge_.get(), &PageMessageBridge::messageReceived, this,
            &CEdgeView::OnWebMessage);
    connect(messageBridge_.get(), &PageMessageBridge::requestFailedReceived, this,
            &CEdgeView::OnPageRequestFailed);
    webChannel_->registerObject(QStringLiteral("korventaBridge"), messageBridge_.get());
    page_->setWebChannel(webChannel_.get(), QWebEngineScript::ApplicationWorld);
    if (page_->webChannel() != webChannel_.get())
        failures_.CheckFailure(E_FAIL, FAILURE_LOCATION());
    installPageScripts();
}

// The channel's client is Qt's own qwebchannel.js; with the relay it runs in the isolated
// world, and only the frozen postMessage function is added to the page's world.
void CEdgeView::installPageScripts() {
    QFile channelClient(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!channelClient.open(QIODevice::ReadOnly))
        failures_.CheckFailure(E_FAIL, FAILURE_LOCATION());
    const QString relay = QString::fromUtf8(channelClient.readAll()) + QLatin1Char('\n') +
                          pageScriptText(messageBridgeScript());
    page_->scripts().insert(documentScript(QStringLiteral("korventa-message-relay"),
                                           QWebEngineScript::ApplicationWorld, relay));
    page_->scripts().insert(documentScript(QStringLiteral("korventa-webview"),
                                           QWebEngineScript::MainWorld,
                                           pageScriptText(webviewShimScript())));
}

void CEdgeView::RunConversionScript(const WString& script) {
    requestState_.scriptsInjected = 1;
    if (!hasBrowser()) {
        endConversion(tr("There is no page to convert."));
        return;
    }
    conversionToken_ = QUuid::createUuid().toString(QUuid::WithoutBraces);
    emit conversionStarted();
    rendererGone_ = false;
    // The relay's world first: the page's answer is stamped with the token from then on.
    page_->runJavaScript(QStringLiteral("korventaRequest('%1');").arg(conversionToken_),
                         QWebEngineScript::ApplicationWorld);
    page_->runJavaScript(
        QString::fromStdU16String(script), QWebEngineScript::MainWorld,
        [view = QPointer<CEdgeView>(this), request = conversionToken_](const QVariant& result) {
            if (view != nullptr && !view->destroying_)
                view->OnScriptCompleted(result, request);
        });
}

// Only the request's own script ends it: a late completion of one already given up does not
// end the next.
void CEdgeView::OnScriptCompleted(const QVariant& result, const QString& request) {
    if (!isPendingRequest(request))
        return;
    if (rendererGone_ || !hasBrowser()) {
        endConversion(tr("The page's scripts could not be run."));
        failures_.ShowFailure(E_FAIL, u"ExecuteScript failure!!");
        return;
    }
    if (resultAsJson(result) == "null") {
        endConversion(tr("The page's scripts failed before they started."));
        failures_.ShowFailure(0, u"Javascript execution error!!");
    }
}

// Anything but a string is ignored, as is everything when no request of this view waits.
void CEdgeView::OnWebMessage(const QString& text, bool isString, const QString& source,
                             const QString& request) {
    if (!isString)
        return;
    RunWebMessageAsync([this, message = text.toStdU16String(), url = QUrl(source), request] {
        TakeConversionResult(message, url, request);
    });
}

void CEdgeView::TakeConversionResult(const WString& message, const QUrl& source,
                                     const QString& request) {
    if (!isPendingRequest(request))
        return;
    conversionToken_.clear();
    const IntakeStatus status =
        takeConversionResult(toUtf8(message), requestState_.commandMap, requestState_.facturXml);
    switch (status) {
        case IntakeStatus::Accepted:
            // Judged by the document that gave them, whatever is displayed when they are written.
            requestState_.commandMap =
                filterPageCommands(requestState_.commandMap, source.toString().toStdU16String());
            (void)StartPdfPrint();
            return;
        case IntakeStatus::Invalid:
            endConversion(tr("The page's result was not valid."));
            failures_.ShowFailure(0, u"Invalid conversion result!!");
            return;
    }
}

void CEdgeView::OnPageRequestFailed(const QString& reason, const QString& request) {
    if (!isPendingRequest(request))
        return;
    // The page's own words, bounded: it may be hostile.
    constexpr qsizetype kReasonLimit = 300;
    endConversion(reason.isEmpty() ? tr("The page's scripts failed.") : reason.left(kReasonLimit));
}

void CEdgeView::cancelConversion() {
    if (isConversionPending())
        endConversion(tr("Cancelled: the page's answer is no longer awaited."));
}

// A hung renderer answers no request of the browser, so it is ended from outside.
void CEdgeView::endRenderer() {
    const qint64 pid = hasBrowser() && !printing_ ? page_->renderProcessPid() : 0;
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), SIGKILL) == 0)
        endingRenderer_ = true;
}

// The request's commands and XML end with it: the next job is another page's. A direct print
// that cannot start ends here too; none starts while a request waits (FrameView::isBusy).
void CEdgeView::endConversion(const QString& reason) {
    conversionToken_.clear();
    requestState_.commandMap.clear();
    requestState_.facturXml.clear();
    printingSlot_.giveBack();
    emit requestEnded(reason);
}

bool CEdgeView::isPendingRequest(const QString& request) const {
    return !request.isEmpty() && request == conversionToken_;
}

HResult CEdgeView::NavigateTo(WStringView address) {
    if (!hasBrowser())
        return E_INVALIDARG;
    const HResult status = navigator_.navigate(address);
    if (status != E_INVALIDARG)
        failures_.CheckFailure(status, FAILURE_LOCATION());
    return status;
}

void CEdgeView::NavigateCurrent() {
    if (!hasBrowser())
        return;
    const HResult status = navigator_.navigate(requestState_.currentAddress);
    if (status != E_INVALIDARG)
        failures_.CheckFailure(status, FAILURE_LOCATION());
    requestState_.scriptsInjected = 0;
}

HResult CEdgeView::openInBrowser(const WString& address) {
    const std::optional<QUrl> url = browserUrl(address);
    if (!url)
        return E_INVALIDARG;
    pageLoaded_ = false;
    page_->load(*url);
    return S_OK;
}

void CEdgeView::RunAsync(std::function<void()> callable) {
    QCoreApplication::postEvent(
        this, new PostedCallableEvent(PostedCallableEvent::kRunAsync, std::move(callable)));
}

void CEdgeView::RunWebMessageAsync(std::function<void()> callable) {
    QCoreApplication::postEvent(
        this, new PostedCallableEvent(PostedCallableEvent::kWebMessage, std::move(callable)));
}

bool CEdgeView::printLayout(QPageLayout& layout) {
    if (hasBrowser() && !printing_) {
        ReadPrinterPaper(spooler_, requestState_.printerName, printSettings_);
        ApplyPrintSettings(printSettings_, layout);
    }
    return layout.isValid();
}

bool CEdgeView::StartPdfPrint() {
    QPageLayout layout;
    if (!printLayout(layout)) {
        endConversion(printing_ ? tr("A print is still under way.")
                                : tr("The page is not ready to be printed."));
        return false;
    }
    printing_ = true;
    emit printStarted();
    const WString title = documentTitle();
    const WString address = page_->url().toString().toStdU16String();
    // The browser answers even when the page goes first; a view that is gone by then
    // writes nothing.
    page_->printToPdf(
        [view = QPointer<CEdgeView>(this), title, address](const QByteArray& pdf) {
            if (view != nullptr && !view->destroying_)
                view->OnPdfStreamCompleted(pdf, title, address);
        },
        layout);
    return true;
}

bool CEdgeView::PrintToBytes(std::function<void(const QByteArray& pdf)> done) {
    QPageLayout layout;
    if (!printLayout(layout))
        return false;
    printing_ = true;
    page_->printToPdf(
        [view = QPointer<CEdgeView>(this), done = std::move(done)](const QByteArray& pdf) {
            if (view == nullptr || view->destroying_)
                return;
            view->printing_ = false;
            done(pdf);
        },
        layout);
    return true;
}

// A print of another part of the document may be under way meanwhile: it stays so.
WString CEdgeView::WritePrintedJob(const QByteArray& pdf) {
    writeJob(pdf, documentTitle(), page_->url().toString().toStdU16String());
    return lastJobKeyName_;
}

void CEdgeView::OnPdfStreamCompleted(const QByteArray& pdf, const WString& title,
                                     const WString& address) {
    printing_ = false;
    writeJob(pdf, title, address);
}

// An empty result is a failed print: the job still goes to the driver, with an empty file.
void CEdgeView::writeJob(const QByteArray& pdf, const WString& title, const WString& address) {
    printSettings_.documentTitle = title;
    MemoryStream stream(std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    const PrintedPage printed{pdf.isEmpty() ? nullptr : &stream, title, address};
    lastJobKeyName_ =
        jobWriter_.OnPdfStreamCompleted(printed, requestState_, identity_, printingSlot_);
    ++completedPrints_;
    emit printFinished();
}

// Qt stands the address in for a page without a title; such a page has none.
WString CEdgeView::documentTitle() const {
    const QString title = page_->title();
    const QUrl url = page_->url();
    if (title == url.toString() || title == url.toDisplayString() ||
        (url.isLocalFile() && title == url.fileName()) || title == QStringLiteral("about:blank"))
        return {};
    return title.toStdU16String();
}

bool CEdgeView::isReady() const {
    return hasBrowser() && pageLoaded_ && !printing_ && !printingSlot_.isHeld();
}

bool CEdgeView::isIdle() const {
    return isReady() && runningPostActions() == 0;
}

QWebEnginePage* CEdgeView::page() const {
    return page_.get();
}

bool CEdgeView::event(QEvent* event) {
    if (!PostedCallableEvent::isPostedCallable(*event))
        return QWidget::event(event);
    OnPostedCallable(*event);
    return true;
}

void CEdgeView::OnPostedCallable(QEvent& event) {
    // Qt deletes the event, and with it the callable, once this returns.
    static_cast<PostedCallableEvent&>(event).run();
}

void CEdgeView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ResizeWebView();
}

}  // namespace korventa
