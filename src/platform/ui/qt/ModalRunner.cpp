#include "platform/ui/qt/ModalRunner.h"

#include "platform/ui/Toolkit.h"

#include <QDialog>

namespace zel::ui {

void showModal(QDialog& dialog)
{
    if (const auto& runner = toolkit().modalRunner) {
        runner(dialog);
        return;
    }
    // QDialog::exec leaves its loop as soon as the dialog is hidden, so a handler that closes the
    // window from inside the loop (OK, Cancel) ends the showing safely.
    dialog.exec();
}

} // namespace zel::ui
