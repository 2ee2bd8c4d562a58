// Dialogs open centred on the screen of the main window, by the size they are shown at, also where
// no window manager places them (the offscreen platform has none).
#include <QScreen>

#include "console/core/dialogs/frmConfigureCols.h"
#include "console/core/dialogs/frmFilter.h"
#include "console/core/dialogs/frmPreference.h"
#include "console/properties/frmTftp.h"
#include "console/tests/CommandsFixture.h"

namespace consoletest {
namespace {

// How far a dialog's centre may lie from the screen's: the halving of odd sizes.
constexpr int kSlack = 2;

class CentredDialogsTest : public CommandsFixture {
  protected:
    // Where the dialog that the command opens is on the screen as it comes up; it is then closed.
    template <typename Dialog>
    QRect OpenedAt(const char* menu) {
        QRect place;
        OnDialog<Dialog>([&place, menu](Dialog& dialog) {
            place = dialog.frameGeometry();
            SavePicture(&dialog, QString("centred-") + menu);
            dialog.close();
        });
        FromMenu(menu);
        return place;
    }
};

TEST_F(CentredDialogsTest, EachDialogLiesWhollyOnTheScreenCentred) {
    StartCards("card Middle mac=00005E430001 ip=127.0.42.1\n");
    OpenConsole();
    Select("00005E430001");
    const QRect screen = console_->screen()->availableGeometry();
    const std::pair<const char*, QRect> opened[] = {
        {"mnuPreference", OpenedAt<console::frmPreference>("mnuPreference")},
        {"mnuColumns", OpenedAt<console::frmConfigureCols>("mnuColumns")},
        {"mnuFilter2", OpenedAt<console::frmFilter>("mnuFilter2")},
        {"mnuFlash", OpenedAt<console::frmTftp>("mnuFlash")},
    };
    for (const auto& [menu, place] : opened) {
        ASSERT_FALSE(place.isEmpty()) << menu << " opened no dialog";
        EXPECT_TRUE(screen.contains(place)) << menu << " reaches off the screen";
        const QPoint off = place.center() - screen.center();
        EXPECT_LE(std::abs(off.x()), kSlack) << menu << " is off centre across by " << off.x();
        EXPECT_LE(std::abs(off.y()), kSlack) << menu << " is off centre down by " << off.y();
    }
}

}  // namespace
}  // namespace consoletest
