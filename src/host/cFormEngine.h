#pragma once

#include "host/IEditorForm.h"
#include "platform/com/ClassRegistry.h"
#include "platform/xml/XmlNode.h"
#include "zel/ZelScriptEditor.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zel {

// The editor's entry class as the host uses it: it takes the host's notifier, languages and
// skin, the path-data folder and the activity's data, shows the editor, forwards its button
// events to the host and hands the changed data back. Every operation writes a failure to the
// error log and raises it again with its tag appended.
class cFormEngine
{
public:
    // Creates the process-wide activity data, languages element and robot script object.
    cFormEngine();
    ~cFormEngine();
    cFormEngine(const cFormEngine&) = delete;
    cFormEngine& operator=(const cFormEngine&) = delete;

    // Unloads a form held before, creates and loads a new editor, keeps the notifier and the
    // skin (not owned) and a deep copy of pLanguages. Returns true.
    bool LoadForm(INotifier* pNotifier, const XmlNode& pLanguages, ISkin* pSkin);
    // The same, for a host that hands the languages document as text: languagesCopy makes the
    // copy to keep at the step where LoadForm keeps it, so its failure counts as that step's.
    bool LoadForm(INotifier* pNotifier, const std::function<XmlNode()>& languagesCopy, ISkin* pSkin);
    void SetPathData(std::string_view pPathData);
    // Hands the data text to the activity data, then installs the robot script document: the
    // stored one, or a copy of the DefaultScript.xml pattern of the path-data folder.
    void SetData(std::string_view pData);
    // The data text with a copy of the robot script document; "" when no form is held.
    std::string GetData();
    // Shows the editor modally (or, for an activity without a script, the wizard).
    void ShowForm();
    bool Validate();
    void ResizeForm();
    std::string GetCaption();
    int32_t GetHandle();
    void ChangeSettings(ISkin* pSkin);
    // Keeps pLanguages itself (no copy) and hands the form a deep copy.
    void UpdateLanguages(const XmlNode& pLanguages);
    void ChangeInterfaceLanguage(std::string_view pLanguageId);

    // The form held, or null.
    IEditorForm* form() const { return m_ofrmMain.get(); }

private:
    void InitDataToProcess();
    void ofrmMain_ButtonClick(int32_t ZELButton);
    void ofrmMain_FormActivate();
    void ofrmMain_FormModified();
    void discardHeldForm() noexcept;

    // Shared with the code that runs one of the form's operations, so that a host which loads a
    // new form (or lets go of the engine) from inside a notification does not destroy the form
    // while that operation is still running: the form goes when the last holder lets it go.
    std::shared_ptr<IEditorForm> m_ofrmMain;
    INotifier* m_notifier = nullptr;
    // Expires when the engine is destroyed; a notification checks it before touching the engine.
    std::shared_ptr<int> m_alive = std::make_shared<int>();
    // The data text of the last SetData: SetData with other data makes the held form fill itself
    // again at its next showing.
    std::string m_dataText;
    com::ObjectCounter m_counter;
};

} // namespace zel
