#include "controls/html_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <algorithm>
#include <functional>

#include "controls/browser_profile.h"
#include "controls/browser_unreachable.h"
#include "controls/control_support.h"
#include "controls/html_viewer_data.h"
#include "runtime/event_dispatch.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"
#include "runtime/windows_path.h"

namespace velmora::controls {
namespace {

// Default font sizes in pixels for the five text sizes, smallest to largest.
constexpr int kFontPixels[kHighestTextSize + 1] = {12, 14, 16, 19, 22};
constexpr int kBrowserControlId = 0xE900;

int ClampTextSize(int32_t size) {
    return std::clamp<int32_t>(size, 0, kHighestTextSize);
}

// A path, relative ones included, is the file it names from the current
// folder; anything else is taken as typed.
QUrl ToUrl(std::string_view gbk) {
    if (std::optional<std::string> path = IsDiskPath(gbk) ? NativePath(gbk) : std::nullopt)
        return QUrl::fromLocalFile(
            QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromStdString(*path))));
    return QUrl::fromUserInput(FromGbk(gbk), QString(), QUrl::AssumeLocalFile);
}

// Whether `file` lies in the folder of the page from the disk or below, with
// links resolved on both sides, so that neither a link nor "../" leads out.
// A missing file is refused like any other: the answer tells nothing of what
// exists outside.
bool InFolderOf(const QUrl& page, const QUrl& file) {
    if (!page.isLocalFile()) return false;
    QString folder = QFileInfo(QFileInfo(page.toLocalFile()).path()).canonicalFilePath();
    QString target = QFileInfo(file.toLocalFile()).canonicalFilePath();
    if (folder.isEmpty() || target.isEmpty()) return false;
    if (!folder.endsWith('/')) folder += '/';
    return target.startsWith(folder);
}

// A page opens from the disk wherever it is. Besides itself it takes from
// the disk only what it shows or runs, and only its own files: a template
// shows its pictures, and nothing of the user's reaches its scripts. A
// request of a script's own, or a frame whose document it could read, gets
// nothing.
bool MayLoadLocalFile(const QWebEngineUrlRequestInfo& info) {
    using Info = QWebEngineUrlRequestInfo;
    switch (info.resourceType()) {
        case Info::ResourceTypeMainFrame:
            return true;
        case Info::ResourceTypeImage:
        case Info::ResourceTypeStylesheet:
        case Info::ResourceTypeScript:
        case Info::ResourceTypeFontResource:
        case Info::ResourceTypeMedia:
        case Info::ResourceTypeFavicon:
            return InFolderOf(info.firstPartyUrl(), info.requestUrl());
        default:
            return false;
    }
}

// Every request of the page passes here. Offline: nothing is fetched from
// the network.
class RequestGate : public QWebEngineUrlRequestInterceptor {
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    bool offline = false;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QUrl& url = info.requestUrl();
        QString scheme = url.scheme();
        if (offline && (scheme == "http" || scheme == "https" || scheme == "ftp")) info.block(true);
        if (url.isLocalFile() && !MayLoadLocalFile(info)) info.block(true);
    }
};

class HtmlViewerHost;

// The page asks the host before it navigates or opens a window, and keeps
// script dialogs quiet while the control is silent.
class ViewerPage : public QWebEnginePage {
  public:
    ViewerPage(HtmlViewerHost* host, QWebEngineProfile* profile, QObject* parent)
        : QWebEnginePage(profile, parent), host_(host) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool mainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& value,
                          QString* result) override;

  private:
    HtmlViewerHost* host_;
};

struct EventArgument {
    uint32_t tag;
    uint64_t value;
};

class HtmlViewerHost : public QWidget {
  public:
    HtmlViewerHost(const HtmlViewerData& data, QWidget* parent) : QWidget(parent), data_(data) {
        setAutoFillBackground(true);
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        setCursor(Qt::ArrowCursor);
        view_ = new QWebEngineView(this);
        view_->setProperty("velmoraControlId", kBrowserControlId);
        UsePageOf(ProfileFor(ToUrl(data_.address)));
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view_);
    }

    // The page goes first, while the host can still answer its questions.
    ~HtmlViewerHost() override {
        page_->disconnect(this);
        delete view_;
    }

    // Applies the stored settings and opens the stored address.
    void Start() {
        SetOffline(data_.offline != 0);
        SetSilent(data_.silent != 0);
        SetTextSize(data_.textSize);
        if (!data_.address.empty()) Navigate(data_.address);
    }

    void SetTextSize(int32_t size) {
        data_.textSize = ClampTextSize(size);
        ApplyTextSize();
    }
    int32_t TextSize() const { return data_.textSize; }
    void SetOffline(bool offline) { data_.offline = gate_->offline = offline; }
    bool Offline() const { return gate_->offline; }
    void SetSilent(bool silent) { data_.silent = silent; }
    bool Silent() const { return data_.silent != 0; }
    std::string StatusText() const { return status_; }
    std::string Caption() const { return ToGbk(page_->title()); }

    void Navigate(std::string_view gbk) {
        data_.address.assign(gbk);
        QUrl url = ToUrl(gbk);
        UsePageOf(ProfileFor(url));
        view_->setUrl(url);
    }

    // During a navigation event the event's address, else where the browser is.
    std::string Address() {
        data_.address = inNavigationEvent_ ? eventAddress_ : ToGbk(page_->url().toString());
        return data_.address;
    }

    // True unless a handler ran and answered false.
    bool Raise(int32_t event, std::initializer_list<EventArgument> args,
               const QUrl* navigation = nullptr) {
        auto identity = IdentityOf(this);
        if (!identity) return true;
        TypedEventRecord record;
        record.windowId = identity->windowId;
        record.unitId = identity->unitId;
        record.event = event;
        for (const EventArgument& a : args) {
            TypedEventArgument& slot = record.arguments[record.argumentCount++];
            slot.tag = a.tag;
            slot.value = a.value;
            // A text is an address, which needs all eight bytes here.
            if (a.tag == tag::kText) slot.flags = kArgumentEightBytes;
        }
        bool outer = inNavigationEvent_;
        std::string outerAddress = eventAddress_;
        if (navigation) {
            inNavigationEvent_ = true;
            eventAddress_ = ToGbk(navigation->toString());
        }
        bool ran =
            CallRuntime(kNotifyDeliverTypedEvent, reinterpret_cast<uintptr_t>(&record), 0) == 1;
        inNavigationEvent_ = outer;
        eventAddress_ = outerAddress;
        return !(ran && record.returned == 1 && record.result == 0);
    }

    // Events with one text argument; the text lives for the handler's call.
    bool RaiseWithText(int32_t event, const QString& text, const QUrl* navigation = nullptr) {
        std::string gbk = ToGbk(text);
        char* heap = MakeText(gbk.data(), static_cast<long>(gbk.size()));
        bool allowed = Raise(event, {{tag::kText, reinterpret_cast<uintptr_t>(heap)}}, navigation);
        Free(heap);
        return allowed;
    }

  private:
    // Only the login browser's web pages share the login; a page from the
    // disk is off the record even there.
    QWebEngineProfile* ProfileFor(const QUrl& url) const {
        return data_.keepsLogin && !url.isLocalFile() ? BrowserProfile() : PrivateProfile();
    }

    // A page's profile is fixed when it is made, so a change of profile
    // brings a fresh page with the control's settings.
    void UsePageOf(QWebEngineProfile* profile) {
        if (page_ && page_->profile() == profile) return;
        ViewerPage* old = page_;
        page_ = new ViewerPage(this, profile, view_);
        gate_ = new RequestGate(page_);
        gate_->offline = data_.offline != 0;
        page_->setUrlRequestInterceptor(gate_);
        QWebEngineSettings* settings = page_->settings();
        // A page from the disk shows its own pictures and those it names on
        // the web, as the generated pages and the template previews do. The
        // engine loads no local file into such a page without the second
        // setting; the gate decides which ones it gets.
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        ApplyTextSize();
        view_->setPage(page_);
        Connect();
        if (old) {
            old->disconnect(this);
            old->deleteLater();
        }
    }

    void ApplyTextSize() {
        page_->settings()->setFontSize(QWebEngineSettings::DefaultFontSize,
                                       kFontPixels[ClampTextSize(data_.textSize)]);
    }

    void Connect() {
        QObject::connect(page_, &QWebEnginePage::loadStarted, this,
                         [this] { Raise(kDownloadBegin, {}); });
        QObject::connect(page_, &QWebEnginePage::loadProgress, this, [this](int percent) {
            Raise(kProgressChange, {{tag::kInteger, static_cast<uint32_t>(percent)}});
        });
        QObject::connect(page_, &QWebEnginePage::loadFinished, this, [this](bool) {
            QUrl url = page_->url();
            RaiseWithText(kNavigateComplete, url.toString(), &url);
            Raise(kDownloadComplete, {});
            RaiseWithText(kDocumentComplete, url.toString());
            CheckCommands();
        });
        QObject::connect(page_, &QWebEnginePage::loadingChanged, this,
                         [this](const QWebEngineLoadingInfo& info) { ExplainUnreachable(info); });
        QObject::connect(page_, &QWebEnginePage::urlChanged, this, [this] { CheckCommands(); });
        QObject::connect(page_, &QWebEnginePage::linkHovered, this, [this](const QString& link) {
            status_ = ToGbk(link);
            RaiseWithText(kStatusTextChange, link);
        });
        QObject::connect(page_, &QWebEnginePage::titleChanged, this,
                         [this](const QString& title) { RaiseWithText(kTitleChange, title); });
    }

    // Offline, the login browser would stay an empty white box: it says
    // instead that the site cannot be reached, and why. A load cut short by
    // another one is no failure, and an offline browser is so on purpose.
    void ExplainUnreachable(const QWebEngineLoadingInfo& info) {
        constexpr int kAborted = -3;
        if (!data_.keepsLogin || gate_->offline ||
            info.status() != QWebEngineLoadingInfo::LoadFailedStatus ||
            info.errorDomain() != QWebEngineLoadingInfo::ConnectionErrorDomain ||
            info.errorCode() == kAborted)
            return;
        page_->setHtml(UnreachablePage(info.url(), info.errorString()), info.url());
    }

    // Tells the program when going forward or back becomes allowed or not.
    void CheckCommands() {
        bool forward = page_->history()->canGoForward();
        bool back = page_->history()->canGoBack();
        if (forward != canForward_) {
            canForward_ = forward;
            Raise(kCommandStateChange, {{tag::kInteger, 0}, {tag::kLogical, forward ? 1u : 0u}});
        }
        if (back != canBack_) {
            canBack_ = back;
            Raise(kCommandStateChange, {{tag::kInteger, 1}, {tag::kLogical, back ? 1u : 0u}});
        }
    }

    HtmlViewerData data_;
    QWebEngineView* view_;
    ViewerPage* page_ = nullptr;
    RequestGate* gate_ = nullptr;
    std::string status_;
    bool inNavigationEvent_ = false;
    std::string eventAddress_;
    bool canForward_ = false;
    bool canBack_ = false;

    friend class ViewerPage;
};

bool ViewerPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool mainFrame) {
    if (!mainFrame) return true;
    return host_->RaiseWithText(kBeforeNavigate, url.toString(), &url);
}

QWebEnginePage* ViewerPage::createWindow(WebWindowType) {
    // The new window opens in this control when the program allows it.
    return host_->RaiseWithText(kNewWindow, QString()) ? this : nullptr;
}

void ViewerPage::javaScriptAlert(const QUrl& origin, const QString& message) {
    if (!host_->Silent()) QWebEnginePage::javaScriptAlert(origin, message);
}

bool ViewerPage::javaScriptConfirm(const QUrl& origin, const QString& message) {
    return host_->Silent() ? false : QWebEnginePage::javaScriptConfirm(origin, message);
}

bool ViewerPage::javaScriptPrompt(const QUrl& origin, const QString& message, const QString& value,
                                  QString* result) {
    return host_->Silent() ? false
                           : QWebEnginePage::javaScriptPrompt(origin, message, value, result);
}

HtmlViewerHost* HostOf(QWidget* control) {
    return dynamic_cast<HtmlViewerHost*>(control);
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<HtmlViewerData>(request.data);
    if (!data) return nullptr;
    auto* host = new HtmlViewerHost(*data, request.parent);
    host->setGeometry(request.left, request.top, request.width, request.height);
    AttachToUnit(host, request);
    host->Start();
    return host;
}

ValueRecord TextRecord(const std::string& gbk) {
    return MakeTextValue(gbk.empty() ? nullptr
                                     : MakeText(gbk.data(), static_cast<long>(gbk.size())));
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    HtmlViewerHost* host = HostOf(control);
    if (!host) return false;
    switch (index) {
        case kHtmlFontSize:
            host->SetTextSize(value.Int());
            break;
        case kHtmlOffline:
            host->SetOffline(value.Logical());
            break;
        case kHtmlSilent:
            host->SetSilent(value.Logical());
            break;
        case kHtmlAddress:
            host->Navigate(value.Text());
            break;
        default:  // the status text and the title are read-only
            break;
    }
    return false;
}

ValueRecord GetProperty(QWidget* control, int index) {
    HtmlViewerHost* host = HostOf(control);
    if (!host) return Omitted();
    switch (index) {
        case kHtmlFontSize:
            return MakeInteger(host->TextSize());
        case kHtmlOffline:
            return MakeLogical(host->Offline());
        case kHtmlSilent:
            return MakeLogical(host->Silent());
        case kHtmlAddress:
            return TextRecord(host->Address());
        case kHtmlStatusText:
            return TextRecord(host->StatusText());
        case kHtmlCaption:
            return TextRecord(host->Caption());
        default:
            return Omitted();
    }
}

}  // namespace

std::optional<std::string> ComposeHelpAddress(std::string_view helpFile, std::string_view address,
                                              size_t limit) {
    std::string composed = "its:";
    composed.append(helpFile).append("::").append(address);
    if (composed.size() + 1 > limit) return std::nullopt;
    return composed;
}

bool NavigateTo(QWidget* control, std::string_view gbkAddress) {
    HtmlViewerHost* host = HostOf(control);
    if (!host) return false;
    host->Navigate(gbkAddress);
    return true;
}

InterfaceRoutine HtmlViewerInterface(int request) {
    switch (request) {
        case kRequestCreate:
            return reinterpret_cast<InterfaceRoutine>(Create);
        case kRequestSetProperty:
            return reinterpret_cast<InterfaceRoutine>(SetProperty);
        case kRequestGetProperty:
            return reinterpret_cast<InterfaceRoutine>(GetProperty);
        default:
            return nullptr;
    }
}

}  // namespace velmora::controls
