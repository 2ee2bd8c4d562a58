#include "console/core/ConsoleApplication.h"

#include <cstdlib>

#include "console/core/Libraries.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBrokenInstallation = 31003;
constexpr int kSystemError = 302;

}  // namespace

ConsoleApplication::ConsoleApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Quillmar");
    setOrganizationName("Vorlane");
}

bool ConsoleApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& fault) {
        EndOnFault(fault);
    }
}

void EndOnFault(const std::exception& fault) {
    if (dynamic_cast<const LibraryMissing*>(&fault) != nullptr) {
        ShowMessage(kBrokenInstallation, kCritical);
    } else {
        ShowPlainMessage(QString::fromLocal8Bit(fault.what()),
                         HasString(kSystemError) ? LoadString(kSystemError) : QString());
    }
    std::_Exit(EXIT_FAILURE);
}

}  // namespace console
