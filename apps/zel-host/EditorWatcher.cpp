#include "EditorWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <iostream>

namespace zelhost {
namespace {

// The editor, or the web-service wizard that opens instead of it for an activity without a
// script: the window whose object name is the form's name.
bool isEditorWindow(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget != nullptr && widget->isWindow() &&
           (widget->objectName() == QLatin1String("frmMain") ||
            widget->objectName() == QLatin1String("frmWizardNuevo"));
}

} // namespace

EditorWatcher::EditorWatcher(zel::IFormEngine& engine, std::string language, std::filesystem::path screenshot)
    : m_engine(engine), m_language(std::move(language)), m_screenshot(std::move(screenshot))
{
    qApp->installEventFilter(this);
}

bool EditorWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* box = qobject_cast<QMessageBox*>(watched);
        box != nullptr && event->type() == QEvent::Show && !m_screenshot.empty()) {
        // Nobody is there to answer a message box in a scripted run: its text goes to standard
        // error and it is closed with its default answer.
        std::cerr << "zel-host: message: " << box->text().toStdString() << '\n';
        QTimer::singleShot(0, box, [box] {
            if (QAbstractButton* answer = box->defaultButton() != nullptr
                                              ? static_cast<QAbstractButton*>(box->defaultButton())
                                              : box->escapeButton())
                answer->click();
            else
                box->reject();
        });
        return false;
    }
    if (!isEditorWindow(watched))
        return false;
    if (event->type() == QEvent::Show) {
        m_editor = static_cast<QWidget*>(watched);
        if (!m_screenshot.empty()) {
            // A window system that never paints the editor must not leave the host waiting.
            QTimer::singleShot(10000, this, [this] {
                if (!m_shotPending) {
                    m_shotPending = true;
                    takeScreenshot();
                }
            });
        }
        if (!m_language.empty() && !m_languageSet) {
            m_languageSet = true;
            try {
                m_engine.ChangeInterfaceLanguage(m_language);
            } catch (const zel::ErrorRecord& e) {
                std::cerr << "zel-host: the language " << m_language << " could not be set: " << e.Description << '\n';
            }
        }
    } else if (event->type() == QEvent::Paint && !m_screenshot.empty() && !m_shotPending) {
        m_shotPending = true;
        // The picture is taken after the paint that is under way has reached the window.
        QTimer::singleShot(150, this, [this] { takeScreenshot(); });
    }
    return false;
}

void EditorWatcher::takeScreenshot()
{
    if (!m_editor) {
        m_failure = "the editor closed before it could be pictured";
        return;
    }
    const QPixmap picture = m_editor->grab();
    if (picture.save(QString::fromStdString(m_screenshot.string()), "PNG")) {
        m_saved = true;
        std::cerr << "zel-host: saved " << m_screenshot.string() << '\n';
    } else {
        m_failure = "cannot write " + m_screenshot.string();
    }
    if (auto* cancel = m_editor->findChild<QAbstractButton*>(QStringLiteral("cmdCancel")))
        cancel->click();
    else
        m_editor->close();
}

} // namespace zelhost
