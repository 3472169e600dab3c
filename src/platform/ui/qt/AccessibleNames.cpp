#include "platform/ui/qt/AccessibleNames.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

namespace zel::ui {
namespace {

QString withoutMnemonics(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.trimmed();
}

} // namespace

void setAccessibleNames(QWidget& window)
{
    const QList<QWidget*> controls = window.findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QString name;
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            name = withoutMnemonics(button->text());
        else if (auto* label = qobject_cast<QLabel*>(control))
            name = withoutMnemonics(label->text());
        if (name.isEmpty())
            name = control->toolTip();
        if (name.isEmpty())
            name = control->objectName();
        control->setAccessibleName(name);
    }
    // A labelled control is known by its label, whatever was given above.
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->buddy() != nullptr && !label->text().isEmpty())
            label->buddy()->setAccessibleName(withoutMnemonics(label->text()));
}

} // namespace zel::ui
