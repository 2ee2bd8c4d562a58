#include "console/configuration/NetworkInterfaceCommand.h"

#include "console/configuration/frmConfiguration.h"
#include "console/configuration/frmGetPassword.h"

namespace console {

bool RunNetworkInterface(QWidget* parent) {
    if (!PassPasswordGate(parent)) {
        return false;
    }
    frmConfiguration dialog(parent);
    return dialog.Form_Load() && dialog.exec() == QDialog::Accepted;
}

}  // namespace console
