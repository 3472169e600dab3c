#include "host/cFormEngine.h"

#include "common/General.h"
#include "common/Globals.h"
#include "host/HostState.h"
#include "host/cRobot.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "platform/error/ErrorRecord.h"
#include "platform/ui/Toolkit.h"

namespace zel {
namespace {

// Runs step and ignores its failure: used where a step is skipped when it fails.
template <class Step> void ignoringErrors(Step&& step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}

// The activity data created at construction; raises 91 when the construction could not create it.
ISharedData& sharedData()
{
    if (!globals().gobjSharedData)
        raiseObjectNotSet("the activity data component");
    return *globals().gobjSharedData;
}

} // namespace

// Every operation below logs with its own tag and raises with another. The log tag is the raise
// tag with one more leading blank, except where the log has always read otherwise and readers of
// the log may match its text: ShowForm logs as "Showform", and the three event handlers log under
// their bare handler names, each with its own spacing. The tags are therefore written out in full.
cFormEngine::cFormEngine()
{
    try {
        registerDefaultComponents();
        Globals& g = globals();
        g.gobjSharedData = com::ClassRegistry::instance().createAs<ISharedData>(kClsidSharedData);
        std::string name = "Languages";
        g.gxmlLanguages = General::GetNewNode(General::kNodeElement, name);
        hostState().gobjRobot = std::make_shared<cRobot>();
    } catch (...) {
        logAndAbsorb("  cFormEngine.Class_Initialize() ");
    }
}

cFormEngine::~cFormEngine()
{
    m_alive.reset();
    Globals& g = globals();
    g.gobjSharedData.reset();
    g.gxmlLanguages = XmlNode();
    hostState().gobjRobot.reset();
    discardHeldForm();
}

void cFormEngine::discardHeldForm() noexcept
{
    if (m_ofrmMain)
        ignoringErrors([&] { m_ofrmMain->Unload(); });
    m_ofrmMain.reset();
}

bool cFormEngine::LoadForm(INotifier* pNotifier, const XmlNode& pLanguages, ISkin* pSkin)
{
    return LoadForm(
        pNotifier, [&] { return pLanguages.cloneDeep(); }, pSkin);
}

bool cFormEngine::LoadForm(INotifier* pNotifier, const std::function<XmlNode()>& languagesCopy, ISkin* pSkin)
{
    const bool formWasHeld = m_ofrmMain != nullptr;
    auto steps = std::initializer_list<std::function<void()>>{
        [&] { discardHeldForm(); },
        [&] {
            const EditorFormFactory& factory = toolkit().editorForm;
            if (!factory)
                raise(ErrorNumber::CannotCreateComponent,
                      "Cannot create the editor window: no window toolkit is loaded");
            // A form may outlive the engine by the rest of a handler: its events then reach nobody.
            const std::weak_ptr<int> alive = m_alive;
            m_ofrmMain = factory(EditorFormEvents{[this, alive](int32_t b) {
                                                      if (!alive.expired())
                                                          ofrmMain_ButtonClick(b);
                                                  },
                                                  [this, alive] {
                                                      if (!alive.expired())
                                                          ofrmMain_FormActivate();
                                                  },
                                                  [this, alive] {
                                                      if (!alive.expired())
                                                          ofrmMain_FormModified();
                                                  }});
        },
        [&] { globals().gobjSkin = pSkin; },
        [&] {
            if (!m_ofrmMain)
                raiseObjectNotSet("the editor window was not created");
            m_ofrmMain->Load();
        },
        [&] { m_notifier = pNotifier; },
        [&] { globals().gxmlLanguages = languagesCopy(); },
    };
    if (formWasHeld) {
        // Replacing a form never fails towards the host: each failing step is skipped.
        for (const auto& step : steps)
            ignoringErrors(step);
        return true;
    }
    try {
        for (const auto& step : steps)
            step();
        return true;
    } catch (...) {
        logAndRethrow("  cFormEngine.LoadForm() ", " cFormEngine.LoadForm() ");
    }
}

void cFormEngine::SetPathData(std::string_view pPathData)
{
    try {
        globals().gstrPathData = std::string(pPathData);
    } catch (...) {
        logAndRethrow("  cFormEngine.SetPathData() ", " cFormEngine.SetPathData() ");
    }
}

void cFormEngine::SetData(std::string_view pData)
{
    try {
        sharedData().LoadData(pData);
        InitDataToProcess();
        if (pData != m_dataText) {
            m_dataText = std::string(pData);
            if (m_ofrmMain)
                m_ofrmMain->ActivityDataChanged();
        }
    } catch (...) {
        logAndRethrow("  cFormEngine.SetData() ", " cFormEngine.SetData() ");
    }
}

void cFormEngine::InitDataToProcess()
{
    try {
        Globals& g = globals();
        const std::shared_ptr<cRobot>& robot = hostState().gobjRobot;
        if (!g.gobjSharedData || !robot)
            raiseObjectNotSet("the activity data or the robot script object");
        g.gstrContextText = g.gobjSharedData->ContextText();
        if (g.gobjSharedData->HasScript()) {
            robot->SetFreeDefinition(g.gobjSharedData->ScriptNode().cloneDeep());
        } else {
            std::string folder = g.gstrPathData;
            robot->SetFreeDefinition(General::GetPattern("DefaultScript", folder).cloneDeep());
        }
    } catch (...) {
        logAndRethrow("  cFormEngine.InitDataToProcess() ", " cFormEngine.InitDataToProcess() ");
    }
}

std::string cFormEngine::GetData()
{
    try {
        if (!m_ofrmMain)
            return {};
        Globals& g = globals();
        const std::shared_ptr<cRobot>& robot = hostState().gobjRobot;
        if (!g.gobjSharedData || !robot)
            raiseObjectNotSet("the activity data or the robot script object");
        const XmlNode script = robot->GetFreeDefinition();
        if (script.isNone())
            raiseObjectNotSet("no robot script document is installed");
        g.gobjSharedData->SetScriptNode(script.cloneDeep());
        return g.gobjSharedData->DataNode().xml();
    } catch (...) {
        logAndRethrow("  cFormEngine.GetData() ", " cFormEngine.GetData() ");
    }
}

void cFormEngine::ShowForm()
{
    try {
        // Held here as well: the host may load another form while this one is showing.
        const std::shared_ptr<IEditorForm> form = m_ofrmMain;
        if (!form)
            return;
        form->Initialize();
        if (sharedData().HasScript()) {
            form->ShowModal();
            return;
        }
        const std::string code = form->ShowWizardForNewScript();
        if (code.empty()) {
            form->UnloadWizard();
            return;
        }
        form->SetScriptText(code);
        form->ColorizeCode();
        form->UnloadWizard();
        form->SaveCode();
    } catch (...) {
        logAndRethrow("  cFormEngine.Showform() ", " cFormEngine.ShowForm() ");
    }
}

bool cFormEngine::Validate()
{
    try {
        return m_ofrmMain ? m_ofrmMain->Validate() : false;
    } catch (...) {
        logAndRethrow("  cFormEngine.Validate() ", " cFormEngine.Validate() ");
    }
}

void cFormEngine::ResizeForm()
{
    try {
        if (m_ofrmMain)
            m_ofrmMain->ResizeForm();
    } catch (...) {
        logAndRethrow("  cFormEngine.ResizeForm() ", " cFormEngine.ResizeForm() ");
    }
}

std::string cFormEngine::GetCaption()
{
    try {
        return m_ofrmMain ? m_ofrmMain->Caption() : std::string();
    } catch (...) {
        logAndRethrow("  cFormEngine.GetCaption() ", " cFormEngine.GetCaption() ");
    }
}

int32_t cFormEngine::GetHandle()
{
    try {
        return m_ofrmMain ? m_ofrmMain->Handle() : 0;
    } catch (...) {
        logAndRethrow("  cFormEngine.GetHandle() ", " cFormEngine.GetHandle() ");
    }
}

void cFormEngine::ChangeSettings(ISkin* pSkin)
{
    try {
        globals().gobjSkin = pSkin;
        if (m_ofrmMain)
            m_ofrmMain->ChangeSettings();
    } catch (...) {
        logAndRethrow("  cFormEngine.ChangeSettings() ", " cFormEngine.ChangeSettings() ");
    }
}

void cFormEngine::UpdateLanguages(const XmlNode& pLanguages)
{
    try {
        globals().gxmlLanguages = pLanguages;
        if (m_ofrmMain)
            m_ofrmMain->UpdateLanguages(pLanguages.cloneDeep());
    } catch (...) {
        logAndRethrow("  cFormEngine.UpdateLanguages() ", " cFormEngine.UpdateLanguages() ");
    }
}

void cFormEngine::ChangeInterfaceLanguage(std::string_view pLanguageId)
{
    try {
        if (m_ofrmMain)
            m_ofrmMain->ChangeInterfaceLanguage(pLanguageId);
    } catch (...) {
        logAndRethrow("  cFormEngine.ChangeInterfaceLanguage() ", " cFormEngine.ChangeInterfaceLanguage() ");
    }
}

void cFormEngine::ofrmMain_ButtonClick(int32_t ZELButton)
{
    try {
        // The host may load a new form, or destroy this engine, from inside its ButtonClick: then
        // the form that raised the event was unloaded already and the new one is left alone.
        const std::shared_ptr<IEditorForm> raising = m_ofrmMain;
        const std::weak_ptr<int> alive = m_alive;
        if (m_notifier)
            m_notifier->ButtonClick(ZELButton);
        if (alive.expired())
            return;
        if (ZELButton == kButtonCancel || ZELButton == kButtonOk)
            sharedData().SetButtonResult(ZELButton);
        if (raising && raising == m_ofrmMain)
            raising->Unload();
    } catch (...) {
        logAndRethrow("  ofrmMain_ButtonClick ", " cFormEngine.ofrmMain_ButtonClick() ");
    }
}

void cFormEngine::ofrmMain_FormActivate()
{
    try {
        if (m_notifier)
            m_notifier->FormActivate();
    } catch (...) {
        logAndRethrow(" ofrmMain_FormActivate", " cFormEngine.ofrmMain_FormActivate() ");
    }
}

void cFormEngine::ofrmMain_FormModified()
{
    try {
        if (m_notifier)
            m_notifier->FormModified();
    } catch (...) {
        logAndRethrow(" ofrmMain_FormModified()", " cFormEngine.ofrmMain_FormModified() ");
    }
}

} // namespace zel
