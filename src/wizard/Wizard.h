#pragma once

#include "platform/http/AsyncHttpRequest.h"
#include "wizard/WizardNuevo.h"

#include <memory>
#include <string>

namespace zel::wizard {

// The first design of the web-service wizard, kept beside WizardNuevo and opened by Engine.Show.
// It shares the pages, the page-2 checks, Back, Cancel, the option boxes, the skin, the language
// and Finish's properties with WizardNuevo and differs where the WSDL work is done: the tree
// loader does all of it (the analyser the shared part carries is never asked), and the WSDL is
// loaded from the address exactly as typed by an asynchronous request whose ready state the page
// timer polls. Ticking or clearing a method selects it and refills the grid at once; Finish takes
// every named grid row in row order.
class Wizard final : public WizardNuevo
{
public:
    explicit Wizard(IWizardControls& controls);
    // A load still running is cancelled and its thread waited for: nothing touches the controls
    // after the wizard is gone.
    ~Wizard() override;

    void applyDesignTexts() override;
    void ChangeLanguage(std::string_view languageId) override;
    void cmdNext_Click() override;
    void cmdBack_Click() override;
    void cmdCancel_Click() override;
    void cmdLoad_Click() override;
    void timSoapLoadWsdl_Timer() override;
    std::string EvalCodeMake() override;

    // The tick of item changed (ticked or cleared): it becomes the selected method.
    void tvSoapComponent_AfterCheckBoxStateChanged(controls::TreeItem item);
    // Enables the four proxy boxes while chkUseProxy is ticked.
    void chkUseProxy_Click();

    // Time-out and proxy of the WSDL load (the time-out ends a load the server never answers).
    void setLoadOptions(const http::HttpOptions& options) { m_loadOptions = options; }
    bool isLoadRunning() const { return m_request != nullptr; }

    // Told when a load ended without a document: the address could not be read.
    std::string msgWsdlNotRead = "The WSDL could not be read from this address.";

private:
    bool reopenStoredWsdl(const std::string& wsdl, const std::string& path) override;
    void endLoad();

    std::unique_ptr<http::AsyncHttpRequest> m_request;
    http::HttpOptions m_loadOptions;
};

} // namespace zel::wizard
