#include "platform/ui/qt/QtUiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>

namespace zel::ui {
namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MessageResult fromQt(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    default:
        return MessageResult::Ok;
    }
}

} // namespace

std::string QtUiServices::displayText(const std::string& text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            shown += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            shown += text[i];
        }
    }
    return shown;
}

MessageResult QtUiServices::messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                       MessageButtons buttons)
{
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr)
        owner = QApplication::activeWindow();
    QMessageBox box(toQt(icon), QString::fromStdString(title), QString::fromStdString(displayText(text)), toQt(buttons),
                    owner);
    // The system's texts are plain text: a "<" in a script line must show as it is.
    box.setTextFormat(Qt::PlainText);
    return fromQt(box.exec());
}

std::string QtUiServices::clipboardText()
{
    return QApplication::clipboard()->text().toStdString();
}

void QtUiServices::setClipboardText(const std::string& text)
{
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

} // namespace zel::ui
