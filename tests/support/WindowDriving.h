#pragma once

// What window tests share: one application on the offscreen platform, controls found by object
// name, pictures for the README, and modal windows handed to the test's drivers
// in turn instead of running loops of their own.

#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>

#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>

namespace zel::test {

// The program's application, made at the first call (offscreen unless the caller chose a platform).
inline QApplication& windowApplication()
{
    static int argc = 1;
    static char name[] = "zel_window_tests";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication* app = QApplication::instance() ? qApp : new QApplication(argc, argv);
    return *app;
}

// The child of parent named name; a missing control fails the test.
template <class T> T* control(const QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (found == nullptr)
        ADD_FAILURE() << "no control " << name;
    return found;
}

// Saves a picture of window as NAME.png in the folder ZEL_WIZARD_SCREENSHOTS names, when it names one.
inline void picture(QWidget& window, const char* name)
{
    if (const char* folder = std::getenv("ZEL_WIZARD_SCREENSHOTS"))
        window.grab().save(QString::fromUtf8(folder) + "/" + QLatin1String(name) + ".png");
}

// Every named control of window (Qt's own "qt_" parts aside) has an accessible name.
inline void expectAccessibleNames(const QWidget& window)
{
    for (const QWidget* child : window.findChildren<QWidget*>())
        if (!child->objectName().isEmpty() && !child->objectName().startsWith("qt_")) {
            EXPECT_FALSE(child->accessibleName().isEmpty()) << child->objectName().toStdString();
        }
}

// For its life, shows each modal window without a loop of its own and hands it to the next driver
// in line (a driver may queue the drivers of the windows it opens); a window left open fails.
class ModalDrivers
{
public:
    using Driver = std::function<void(QDialog&)>;
    void push(Driver driver) { m_queue->push_back(std::move(driver)); }

private:
    std::shared_ptr<std::deque<Driver>> m_queue = std::make_shared<std::deque<Driver>>();
    Installed<Driver> m_runner{toolkitSetter<&Toolkit::modalRunner>(), [queue = m_queue](QDialog& dialog) {
                                   dialog.show();
                                   QCoreApplication::processEvents();
                                   ASSERT_FALSE(queue->empty())
                                       << "no driver for " << dialog.objectName().toStdString();
                                   const Driver driver = std::move(queue->front());
                                   queue->pop_front();
                                   driver(dialog);
                                   EXPECT_FALSE(dialog.isVisible())
                                       << dialog.objectName().toStdString() << " left open";
                                   dialog.hide();
                               }};
};

} // namespace zel::test
