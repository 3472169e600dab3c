#pragma once

#include "zel/ZelScriptEditor.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <string>

class QWidget;

namespace zelhost {

// Watches for the editor window (or the wizard shown in its place) while ShowForm runs. When it is about to be shown, switches the
// interface language (when one was asked for); once it has been painted, saves a picture of it
// (when a file was asked for) and then closes it as its Cancel button does. While a picture is
// asked for, message boxes are answered with their default button, since nobody is there to.
class EditorWatcher final : public QObject
{
    Q_OBJECT

public:
    EditorWatcher(zel::IFormEngine& engine, std::string language, std::filesystem::path screenshot);

    // True once the picture was written; false when none was asked for or writing failed.
    bool screenshotSaved() const { return m_saved; }
    // Set when a picture was asked for and could not be taken.
    const std::string& failure() const { return m_failure; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeScreenshot();

    zel::IFormEngine& m_engine;
    std::string m_language;
    std::filesystem::path m_screenshot;
    QPointer<QWidget> m_editor;
    bool m_languageSet = false;
    bool m_shotPending = false;
    bool m_saved = false;
    std::string m_failure;
};

} // namespace zelhost
