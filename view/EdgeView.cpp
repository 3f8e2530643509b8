#include "view/EdgeView.h"

#include <QCoreApplication>
#include <QResizeEvent>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <string>

#include "components/ScriptComponent.h"
#include "components/SettingsComponent.h"
#include "components/WebPage.h"
#include "view/BrowserAddress.h"
#include "view/BrowserEnvironment.h"
#include "view/DataFolder.h"
#include "view/PostedCallableEvent.h"
#include "view/ViewComponent.h"

namespace korventa {

CEdgeView::CEdgeView(FailureReporter& failures, UserPrompts& prompts, QWidget* parent)
    : QWidget(parent),
      failures_(failures),
      prompts_(prompts),
      dataFolder_(chooseDataFolder(currentFolderSources())),
      navigator_(*this) {}

CEdgeView::~CEdgeView() {
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
    browserWidget_ = std::make_unique<QWebEngineView>(this);
    browserWidget_->setPage(page_.get());
    browserWidget_->show();
    createComponents();
    const WString& address = requestState_.currentAddress;
    const HResult status = NavigateTo(address.empty() ? AddressNavigator::kHomePage : address);
    if (status == S_OK) {
        ResizeWebView();
        RegisterWebMessageHandler();
    }
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
    page_->setWebChannel(webChannel_.get(), QWebEngineScript::ApplicationWorld);
    if (page_->webChannel() != webChannel_.get())
        failures_.CheckFailure(E_FAIL, FAILURE_LOCATION());
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
