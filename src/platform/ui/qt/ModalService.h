#pragma once

#include <memory>

class QDialog;

namespace zel::ui {

// Shows the system's windows modally. The default runs the dialog's own event loop until it is
// hidden; tests install one that drives the window and closes it without blocking.
class ModalService
{
public:
    virtual ~ModalService() = default;
    // Shows dialog modally and returns when it is hidden again.
    virtual void showModal(QDialog& dialog) = 0;
};

// The service in force (the default when none was installed).
ModalService& modalService();

// Installs a service (none restores the default) and returns the one replaced.
std::shared_ptr<ModalService> setModalService(std::shared_ptr<ModalService> service);

} // namespace zel::ui
