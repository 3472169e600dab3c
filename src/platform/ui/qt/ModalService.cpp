#include "platform/ui/qt/ModalService.h"

#include <QDialog>

namespace zel::ui {
namespace {

class ExecModalService final : public ModalService
{
public:
    // QDialog::exec leaves its loop as soon as the dialog is hidden, so a handler that closes the
    // window from inside the loop (OK, Cancel) ends the showing safely.
    void showModal(QDialog& dialog) override { dialog.exec(); }
};

std::shared_ptr<ModalService>& installed()
{
    static std::shared_ptr<ModalService> service;
    return service;
}

} // namespace

ModalService& modalService()
{
    static ExecModalService fallback;
    if (installed())
        return *installed();
    return fallback;
}

std::shared_ptr<ModalService> setModalService(std::shared_ptr<ModalService> service)
{
    std::shared_ptr<ModalService> previous = std::move(installed());
    installed() = std::move(service);
    return previous;
}

} // namespace zel::ui
