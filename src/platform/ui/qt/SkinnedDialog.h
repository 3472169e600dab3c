#pragma once

#include <QDialog>

#include <functional>

namespace zel::ui {

// A dialog window without a system title bar that paints a raised edge around itself
// (FormBorderDraw); its caption bar is a CaptionBar among its children. Escape and a close request
// from the window system go to the reject handler instead of closing the window, so the form
// decides (a form closes itself by hiding).
class SkinnedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SkinnedDialog(QWidget* parent = nullptr);

    // Run on Escape and on a close request; none closes the window as QDialog does.
    void setRejectHandler(std::function<void()> handler) { m_rejectHandler = std::move(handler); }

    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> m_rejectHandler;
};

} // namespace zel::ui
