// The sink's property page: shows the settings stored in the registry, writes the edited ones back
// there on Apply and hands them to the connected filter through SetupDravenel, which uses them at
// its next activation.
//
// The host's frame calls the page on its Qt user-interface thread (a QApplication must exist); the
// parent it passes to Activate is the QWidget* the page's window is placed into. The window is made
// on the first activation and lives as long as the page, so edits not applied yet survive a
// deactivation; the next activation fills it from the registry again.
#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>

#include "platform/dshow/base_property_page.h"
#include "platform/dshow/class_factory.h"
#include "sinkfilter/if_orbelle.h"

namespace sinkfilter {

class TPropEditWindow;

class TFormPropEdit final : public dshow::TBasePropertyPage {
public:
    static dshow::TUnknown* CreateFromFactory(HRESULT* hr);
    explicit TFormPropEdit(dshow::TComModule& module);

protected:
    // Keeps the object's IOrbelleData; E_FAIL when it has none.
    HRESULT OnConnect(IUnknown* object) override;
    // Lets go of the filter: a disconnected page neither holds nor sets it up.
    HRESULT OnDisconnect() override;
    // The three below touch the window: E_UNEXPECTED, with a logged line, without a QApplication or
    // off its thread.
    HRESULT OnActivate(void* parentWindow) override;
    HRESULT OnDeactivate() override;
    // Stores the settings and sets the connected filter up with them. A text in the address edit
    // that is no IPv4 address refuses the whole apply (nothing written, the page stays changed).
    HRESULT OnApplyChanges() override;

private:
    ~TFormPropEdit() override;

    // Fills the window from the registry; the page is unchanged afterwards.
    void FormActivate();
    // Every change the user makes.
    void Property_EditChange();

    // The window's change handler reaches the page through this link, which the page cuts when it
    // goes; a page released on another thread is thus never called after it has gone.
    struct TEditLink;
    std::shared_ptr<TEditLink> editLink_;

    dshow::TComModule::TObjectToken token_;
    dshow::TComModule& module_;
    ComPtr<IOrbelleData> filter_;
    QPointer<TPropEditWindow> window_;
    // The stored format and output kind, applied again while their list shows no item.
    int loadedFormat_ = ftUnk;
    int loadedInterface_ = siUdpClient;
};

}  // namespace sinkfilter
