#include "sinkfilter/form_prop_edit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QThread>
#include <limits>
#include <mutex>
#include <new>
#include <string>
#include <string_view>

#include "platform/dshow/dshow_log.h"
#include "sinkfilter/filter_utils.h"
#include "sinkfilter/ip_address.h"
#include "sinkfilter/prop_edit_window.h"
#include "sinkfilter/sink_module.h"
#include "sinkfilter/sink_settings.h"

namespace sinkfilter {
namespace {

constexpr int32_t kMaxIpPort = 65535;

// The number a text starts with: an optional "-" and the digits after it, 0 when there are none;
// values beyond 32 bits stop at the nearest limit.
int32_t LeadingInteger(std::string_view text) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++i;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) break;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t EditNumber(const QLineEdit* edit) { return LeadingInteger(edit->text().toStdString()); }

void ShowNumber(QLineEdit* edit, int32_t value) { edit->setText(QString::number(value)); }

// The page shows and applies the port the output can use, the default otherwise.
int32_t PagePort(int32_t port) { return (port <= 0 || port > kMaxIpPort) ? kDefaultIpPort : port; }

// The window lives on the thread of the host's QApplication; the page touches it from there only.
bool OnUiThread(const char* refused) {
    const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app && QThread::currentThread() == app->thread()) return true;
    dshow::Log(std::string("[Property Editor] ") + refused + ": not on the thread of a QApplication");
    return false;
}

}  // namespace

dshow::TUnknown* TFormPropEdit::CreateFromFactory(HRESULT* hr) {
    auto* page = new (std::nothrow) TFormPropEdit(SinkModule());
    if (hr) *hr = page ? S_OK : E_OUTOFMEMORY;
    return page;
}

struct TFormPropEdit::TEditLink {
    explicit TEditLink(TFormPropEdit* p) : page(p) {}
    std::mutex lock;
    TFormPropEdit* page;
};

TFormPropEdit::TFormPropEdit(dshow::TComModule& module)
    : editLink_(std::make_shared<TEditLink>(this)), token_(module), module_(module) {}

TFormPropEdit::~TFormPropEdit() {
    {
        std::lock_guard cut(editLink_->lock);
        editLink_->page = nullptr;
    }
    if (!window_) return;
    // The window belongs to the user-interface thread; a last release elsewhere hands it over there.
    if (QThread::currentThread() == window_->thread()) delete window_.data();
    else window_->deleteLater();
}

HRESULT TFormPropEdit::OnConnect(IUnknown* object) {
    filter_.Reset();
    if (FAILED(object->QueryInterface(IID_IOrbelleData, filter_.PutVoid())) || !filter_) {
        filter_.Reset();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT TFormPropEdit::OnDisconnect() {
    filter_.Reset();
    return S_OK;
}

HRESULT TFormPropEdit::OnActivate(void* parentWindow) {
    if (!OnUiThread("activation refused")) return E_UNEXPECTED;
    if (!window_) {
        window_ = new TPropEditWindow(module_);
        window_->SetOnEdited([link = editLink_] {
            std::lock_guard hold(link->lock);
            if (link->page) link->page->Property_EditChange();
        });
    }
    window_->setParent(static_cast<QWidget*>(parentWindow));
    FormActivate();
    window_->show();
    return S_OK;
}

HRESULT TFormPropEdit::OnDeactivate() {
    if (!window_) return S_OK;
    if (!OnUiThread("deactivation refused")) return E_UNEXPECTED;
    // Out of the host's window, so the host may close it; the edits stay until applied or refilled.
    window_->hide();
    window_->setParent(nullptr);
    return S_OK;
}

void TFormPropEdit::FormActivate() {
    const TSinkSettings stored = LoadSinkSettings();
    loadedFormat_ = stored.format;
    loadedInterface_ = stored.interfaceKind;

    window_->FillLists();
    window_->SelectFormat(stored.format);
    window_->SelectInterface(stored.interfaceKind);
    window_->IpAddr_Edit->setText(QString::fromStdString(IpToDotted(stored.ipAddr)));
    ShowNumber(window_->Port_Edit, PagePort(stored.ipPort));
    ShowNumber(window_->Buffer_Edit, stored.ipBuffer == 0 ? kDefaultIpBuffer : stored.ipBuffer);
    window_->Header_CB->setChecked(stored.header);
    ShowNumber(window_->RtpPayloadType_Edit, stored.rtpPayloadType);
    window_->UpdatePayloadTypeEdit();
    // What the user typed before is gone now; nothing is left to apply.
    SetDirty(false);
}

void TFormPropEdit::Property_EditChange() {
    SetDirty(true);
    window_->UpdatePayloadTypeEdit();
}

HRESULT TFormPropEdit::OnApplyChanges() {
    if (!window_) {
        dshow::Log("[Property Editor] nothing applied: the page's window is gone");
        return E_UNEXPECTED;
    }
    if (!OnUiThread("nothing applied")) return E_UNEXPECTED;
    const std::string addressText = window_->IpAddr_Edit->text().toStdString();
    const std::optional<int32_t> address = DottedToIp(addressText);
    if (!address) {
        dshow::Log("[Property Editor] nothing applied: \"" + addressText + "\" is no IPv4 address");
        window_->IpAddr_Edit->setFocus();
        window_->IpAddr_Edit->selectAll();
        return E_INVALIDARG;
    }

    const int32_t port = PagePort(EditNumber(window_->Port_Edit));
    ShowNumber(window_->Port_Edit, port);
    int32_t buffer = EditNumber(window_->Buffer_Edit);
    if (buffer < 0 || buffer > kMaxIpBuffer) buffer = kDefaultIpBuffer;
    ShowNumber(window_->Buffer_Edit, buffer);
    const bool header = window_->Header_CB->isChecked();
    const int32_t format = window_->SelectedFormat().value_or(loadedFormat_);
    const int32_t kind = window_->SelectedInterface().value_or(loadedInterface_);
    const int32_t payloadType = EditNumber(window_->RtpPayloadType_Edit);

    WriteFilterInteger("IpBuffer", buffer);
    WriteFilterInteger("IpPort", port);
    WriteFilterInteger("IpAddr", *address);
    WriteFilterBool("Header", header);
    WriteFilterInteger("Format", format);
    WriteFilterInteger("RtpPayloadType", payloadType);
    WriteFilterInteger("Interface", kind);
    loadedFormat_ = format;
    loadedInterface_ = kind;

    if (filter_)
        filter_->SetupDravenel(port, *address, buffer, header ? 1 : 0, static_cast<uint32_t>(format), payloadType,
                               static_cast<uint32_t>(kind));
    return S_OK;
}

}  // namespace sinkfilter
