#pragma once

#include "wizard/Wizard.h"
#include "wizard/forms/frmWizardNuevo.h"

namespace zel {

// The older web-service wizard's window: the pages, skin, language and caption bar of
// frmWizardNuevo without the prefix box, the page-3 method label and the page-4 notes, plus the
// panel SSPanel1 around the load bar. Ticking or clearing a method runs the tick-change handler;
// chkUseProxy enables the proxy boxes. Engine.Show opens one instance, non-modal and without an
// owner; it is released once it is closed or finished, and nothing reads its results.
class frmWizard final : public frmWizardNuevo
{
public:
    frmWizard();
    ~frmWizard() override;

    wizard::Wizard& logic() { return static_cast<wizard::Wizard&>(frmWizardNuevo::logic()); }

    // Loads the single instance when there is none (raising what its load raises) and shows it.
    static void Show();
    // The instance Show opened, until it is closed and released; none otherwise.
    static frmWizard* instance();

    void hideWindow() override;
    void closeWindow() override;

private:
    void release();
};

} // namespace zel
