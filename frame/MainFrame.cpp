#include "frame/MainFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QShortcut>
#include <QWebEnginePage>

#include "driver/DriverAbi.h"
#include "driver/DriverNames.h"
#include "driver/DriverPrinters.h"
#include "frame/AddressCombo.h"
#include "frame/CommandId.h"
#include "frame/ConverterSettings.h"
#include "frame/FinishedJobWatcher.h"
#include "frame/HomeCategory.h"
#include "frame/JobStatusBar.h"
#include "frame/RibbonBar.h"
#include "frame/WindowPlacement.h"
#include "view/AddressNavigator.h"
#include "view/EdgeView.h"

namespace korventa {
namespace {

constexpr int kDefaultWidth = 1440;
constexpr int kDefaultHeight = 900;

// Ribbon elements whose captions the driver supplies, with the number of their text.
constexpr std::pair<int, std::uint32_t> kLabelledElements[] = {
    {ID_BUTTON_PRINT2PDF, VELT_TEXT_CREATE_PDF},
    {ID_BUTTON_PRINT2EMAIL, VELT_TEXT_CREATE_PDF_EMAIL},
    {ID_BUTTON_ZUGPDF, VELT_TEXT_INVOICE_PDF},
    {ID_BUTTON_ZUGPDF2EMAIL, VELT_TEXT_INVOICE_PDF_EMAIL},
    {ID_BUTTON_PRNSETTINGS, VELT_TEXT_SETTINGS},
    {ID_COMBO_PRINTERSEL, VELT_TEXT_PRINTER_BOX},
    {ID_CHECK_DETECTCMD, VELT_TEXT_DETECT_COMMANDS},
    {ID_CHECK_HTML_AS_TEMPLATE, VELT_TEXT_HTML_AS_TEMPLATE},
};

// Without the library every label stays empty and the ribbon keeps its own texts.
std::map<std::uint32_t, WString> fetchDriverLabels(const DriverLibrary& driver,
                                                   WStringView printer) {
    std::map<std::uint32_t, WString> labels;
    if (!driver.isLoaded())
        return labels;
    (void)driver.InitResourceLocale(printer);
    for (const std::uint32_t id :
         {VELT_TEXT_CREATE_PDF, VELT_TEXT_CREATE_PDF_EMAIL, VELT_TEXT_INVOICE_PDF,
          VELT_TEXT_INVOICE_PDF_EMAIL, VELT_TEXT_SETTINGS, VELT_TEXT_PRINTER_BOX,
          VELT_TEXT_CATEGORY, VELT_TEXT_DETECT_COMMANDS, VELT_TEXT_HTML_AS_TEMPLATE}) {
        WString text;
        if (driver.LoadDriverString(id, text))
            labels[id] = std::move(text);
    }
    return labels;
}

QPoint centredIn(const QRect& window, const QRect& area) {
    return area.center() - QPoint(window.width() / 2, window.height() / 2);
}

QPoint clampedInto(const QRect& window, const QRect& area) {
    return {std::clamp(window.left(), area.left(), area.right() + 1 - window.width()),
            std::clamp(window.top(), area.top(), area.bottom() + 1 - window.height())};
}

QIcon applicationIcon() {
    return QIcon(QStringLiteral(":/korventa/korventa.svg"));
}

}  // namespace

CMainFrame::CMainFrame(FailureReporter& failures, UserPrompts& prompts, PrintSpooler& spooler,
                       LayeredSettings& layers)
    : commands_(*this, prompts, spooler, layers) {
    setWindowTitle(QStringLiteral("KORVENTA"));
    setWindowIcon(applicationIcon());
    commands_.applySettings(ConverterSettings::load(layers, AddressNavigator::kHomePage));
    const std::set<WString> printers = EnumDriverPrinters(spooler);
    driver_ = DriverLibrary::load();
    const auto labels = fetchDriverLabels(driver_, commands_.selectedPrinter());

    view_ = new CEdgeView(failures, prompts, spooler, driver_, this);
    setCentralWidget(view_);
    commands_.startView();

    createRibbon();
    createStatusBar();
    HomeCategory* home = ribbon_->home();
    printerBox_.emplace(*home->printerBox());
    classNameBox_.emplace(*home->classNameEdit());
    addressBox_.emplace(*home->addressBox());
    commands_.attachControls(&*printerBox_, &*classNameBox_, &*addressBox_, printers);
    applyDriverLabels(labels);
    updateCommandStates();
    restorePlacement();
    if (!commands_.hasDriverQueue()) {
        status_->showProblem(tr("No print queue of the driver \"%1\" is set up: run "
                                "korventa-setup to add one.")
                                 .arg(QString::fromStdU16String(WString(DriverProductName))));
    }
}

// Teardown order: the view first, then the driver library.
CMainFrame::~CMainFrame() {
    delete view_;
    view_ = nullptr;
}

void CMainFrame::onCommand(int id, int notificationCode) {
    commands_.onCommand(id, notificationCode);
    updateCommandStates();
}

bool CMainFrame::setElementValue(int id, const QString& value) {
    return ribbon_->home()->setElementValue(id, value);
}

void CMainFrame::OpenAddress(WStringView path) {
    commands_.OpenAddress(path);
}

void CMainFrame::StartApplicationMode(WStringView name) {
    commands_.StartApplicationMode(name);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    (void)commands_.settingsToSave().save();
    savePlacement();
    event->accept();
}

void CMainFrame::focusInEvent(QFocusEvent* event) {
    QMainWindow::focusInEvent(event);
    view_->setFocus();
}

RequestState& CMainFrame::requestState() {
    return view_->requestState();
}
void CMainFrame::InitializeWebView() {
    view_->InitializeWebView();
}
void CMainFrame::NavigateCurrent() {
    view_->NavigateCurrent();
}
bool CMainFrame::StartPdfPrint() {
    return view_->StartPdfPrint();
}
bool CMainFrame::takePrintingSlot() {
    return view_->takePrintingSlot();
}
bool CMainFrame::isBusy() const {
    return view_->isBusy();
}
void CMainFrame::RunConversionScript(const WString& script) {
    view_->RunConversionScript(script);
}
bool CMainFrame::isIdle() const {
    return view_->isIdle();
}
bool CMainFrame::isReady() const {
    return view_->isReady();
}
void CMainFrame::setSwitch(int id, bool on) {
    if (commands_.commandState(id).checked != on)
        onCommand(id, 0);
}
void CMainFrame::runInPage(const WString& script, std::function<void()> done) {
    QWebEnginePage* page = view_->page();
    if (page == nullptr) {
        done();
        return;
    }
    page->runJavaScript(QString::fromStdU16String(script),
                        [done = std::move(done)](const QVariant&) { done(); });
}

void CMainFrame::createRibbon() {
    ribbon_ = new RibbonBar(applicationIcon(), this);
    setMenuWidget(ribbon_);
    connect(ribbon_->home(), &HomeCategory::commandRequested, this, &CMainFrame::onCommand);
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, [this] { onCommand(ID_APP_ABOUT, 0); });
}

void CMainFrame::createStatusBar() {
    status_ = new JobStatusBar(this);
    setStatusBar(status_);
    jobWatcher_ = new FinishedJobWatcher(this);
    connect(view_, &CEdgeView::conversionStarted, status_, &JobStatusBar::showWaiting);
    connect(view_, &CEdgeView::requestEnded, this, [this](const QString& reason) {
        status_->showProblem(tr("No PDF was made: %1").arg(reason));
    });
    connect(view_, &CEdgeView::printStarted, this, [this] {
        const InstanceIdentity& identity = view_->identity();
        jobWatcher_->expect(MakeJobKeyName(identity.jobPrefix(), identity.jobCounter() + 1));
        status_->showPrinting();
    });
    connect(view_, &CEdgeView::printFinished, this, &CMainFrame::handlePrintFinished);
    connect(jobWatcher_, &FinishedJobWatcher::jobFinished, status_, &JobStatusBar::showOutcome);
    connect(status_, &JobStatusBar::cancelRequested, view_, &CEdgeView::cancelConversion);
}

void CMainFrame::handlePrintFinished() {
    const WString& jobKey = view_->lastJobKeyName();
    if (!jobKey.empty()) {
        jobWatcher_->watch(jobKey);
        return;
    }
    const QString printer = QString::fromStdU16String(view_->requestState().printerName);
    status_->showProblem(
        driver_.isLoaded()
            ? tr("No PDF was made: \"%1\" is not a print queue of the driver; run korventa-setup "
                 "to add one, then pick it in the printer box.")
                  .arg(printer)
            : tr("No PDF was made: the driver's library is not installed."));
}

void CMainFrame::applyDriverLabels(const std::map<std::uint32_t, WString>& labels) {
    if (const auto category = labels.find(VELT_TEXT_CATEGORY); category != labels.end()) {
        ribbon_->setCategoryName(QString::fromStdU16String(category->second));
    }
    for (const auto& [id, number] : kLabelledElements) {
        const auto label = labels.find(number);
        if (label == labels.end())
            continue;
        (void)ribbon_->home()->setElementText(id, QString::fromStdU16String(label->second));
    }
}

// A first start on a screen smaller than the default size takes the screen's whole free area
// (the window manager fits its decorations in); a saved placement comes back on the screen it
// overlaps, else on the primary one, moved onto it and never larger than its free area.
void CMainFrame::restorePlacement() {
    const auto placement = WindowPlacement::load();
    const QRect wanted = placement ? QRect(placement->left, placement->top, placement->width,
                                           placement->height)
                                   : QRect(0, 0, kDefaultWidth, kDefaultHeight);
    QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : wanted;
    QRect fitted(wanted.topLeft(), wanted.size().boundedTo(area.size()));
    fitted.moveTopLeft(placement ? clampedInto(fitted, area) : centredIn(fitted, area));
    resize(fitted.size());
    move(fitted.topLeft());
    const bool shrunk = fitted.size() != wanted.size();
    if (placement ? placement->maximized : shrunk)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::savePlacement() const {
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    (void)WindowPlacement{normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()}
        .save();
}

void CMainFrame::updateCommandStates() {
    ribbon_->home()->updateStates([this](int id) { return commands_.commandState(id); });
}

}  // namespace korventa
