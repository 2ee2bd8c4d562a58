#include "console/core/StartUp.h"

#include <QDir>
#include <QStandardPaths>

#include <cstring>
#include <vector>

#include "console/core/ConsoleState.h"
#include "console/core/FaultRule.h"
#include "console/core/Libraries.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace console {

namespace {

constexpr std::uint32_t kOptionsBufferSize = 4096;
constexpr int kSystemError = 302;
constexpr int kUnreadableOptions = 12092;

// A fresh store has neither the display options nor the job file name that the library's start-up
// reads; what an installation would leave is put there first.
void PrepareFreshStore() {
    const auto display = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kDisplayKey);
    if (display && !display->ReadText("Options")) {
        display->WriteText("Options", kDefaultDisplayOptions);
    }
    const auto jobs = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kPrintJobsKey);
    if (jobs && !jobs->ReadText("JobFile")) {
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vorlane";
        QDir().mkpath(folder);
        jobs->WriteText("JobFile", (folder + "/jobs.txt").toStdString());
    }
}

// The text as the store holds it, however long: a text that does not fit the buffer fails the
// library's start-up before anything else is started, with the size it needs; it is asked again so.
QString StoredOptions(plat::WindowHandle noticeWindow) {
    std::vector<char> buffer(kOptionsBufferSize, '\0');
    std::uint32_t size = kOptionsBufferSize;
    std::int32_t result = halbrin::HelperInitialize(noticeWindow, buffer.data(), &size);
    if (result == kHelperStoreFailed && size > buffer.size()) {
        buffer.assign(size, '\0');
        result = halbrin::HelperInitialize(noticeWindow, buffer.data(), &size);
    }
    const QString text =
        QString::fromUtf8(buffer.data(), static_cast<qsizetype>(strnlen(buffer.data(), buffer.size())));
    if (result == 0) {
        return text;
    }
    ShowResult(result, kWarning);
    return text.trimmed().isEmpty() ? QString(kDefaultDisplayOptions) : text;
}

}  // namespace

void StartUp(plat::WindowHandle noticeWindow) {
    UnderFatalRule([noticeWindow] {
        PrepareFreshStore();
        std::optional<DisplayOptions> options = ParseDisplayOptions(StoredOptions(noticeWindow));
        if (!options) {
            ShowPlainMessage(LoadString(kUnreadableOptions), LoadString(kSystemError));
            options = ParseDisplayOptions(kDefaultDisplayOptions);
        }
        State().options = *options;
        State().alertStyle = 1;
    });
}

void ShutDown() {
    UnderFatalRule([] {
        const QByteArray text = BuildDisplayOptions(State().options).toUtf8();
        // The library stores all but the last byte given and ends the text there: the terminator.
        halbrin::HelperCleanUp(text.constData(), static_cast<std::uint32_t>(text.size() + 1));
    });
}

}  // namespace console
