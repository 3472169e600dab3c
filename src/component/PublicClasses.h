#pragma once

#include "host/Engine.h"
#include "host/cFormEngine.h"
#include "host/cRobot.h"
#include "zel/ZelScriptEditor.h"

#include <memory>

namespace zel {

// The public classes as a host sees them: thin adapters from the interfaces of the public
// header (XML as text) to the library's classes (XML as nodes).
class FormEngineObject final : public IFormEngine
{
public:
    bool LoadForm(INotifier* pNotifier, std::string_view pLanguages, ISkin* pSkin) override;
    void SetPathData(std::string_view pPathData) override { m_engine.SetPathData(pPathData); }
    void SetData(std::string_view pData) override { m_engine.SetData(pData); }
    std::string GetData() override { return m_engine.GetData(); }
    void ShowForm() override { m_engine.ShowForm(); }
    bool Validate() override { return m_engine.Validate(); }
    void ResizeForm() override { m_engine.ResizeForm(); }
    std::string GetCaption() override { return m_engine.GetCaption(); }
    int32_t GetHandle() override { return m_engine.GetHandle(); }
    void ChangeSettings(ISkin* pSkin) override { m_engine.ChangeSettings(pSkin); }
    void UpdateLanguages(std::string_view pLanguages) override;
    void ChangeInterfaceLanguage(std::string_view pLanguageId) override
    {
        m_engine.ChangeInterfaceLanguage(pLanguageId);
    }

    cFormEngine& engine() { return m_engine; }

private:
    cFormEngine m_engine;
};

class EngineObject final : public IEngine
{
public:
    void Show() override { m_engine.Show(); }
    void LngSet(std::string_view pstrLanguage, std::string_view pstrLngPath) override
    {
        m_engine.LngSet(pstrLanguage, pstrLngPath);
    }

private:
    Engine m_engine;
};

class RobotObject final : public IRobot
{
public:
    std::string GetAdditionalDefinition() override { return m_robot.GetAdditionalDefinition(); }
    void SetFreeDefinitionXml(std::string_view pXmlFreeDefinition) override;
    std::string GetEvalCode() override { return m_robot.GetEvalCode(); }
    std::string GetLanguage() override { return m_robot.GetLanguage(); }
    void SetEvalCode(std::string_view pEvalCode) override { m_robot.SetEvalCode(pEvalCode); }
    void SetLanguage(std::string_view pLanguage) override { m_robot.SetLanguage(pLanguage); }
    std::string GetFreeDefinitionXml() override { return m_robot.GetFreeDefinition().xml(); }
    void SetAdditionalDefinition(std::string_view pstrNodeDefinition) override
    {
        m_robot.SetAdditionalDefinition(pstrNodeDefinition);
    }

private:
    cRobot m_robot;
    com::ObjectCounter m_counter;
};

// Registers the public classes and the default host-product components in the class registry.
void registerLibraryClasses();

} // namespace zel
