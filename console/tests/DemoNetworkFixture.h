#pragma once

// The real console offscreen, its commands wired, on the demo's network (started from
// scripts/demo-network.txt as scripts/run starts it), for the pictures that the help shows.
#include <functional>
#include <memory>
#include <string>

#include "console/tests/CommandsFixture.h"
#include "portmonitor/tests/DemoNetwork.h"

namespace consoletest {

using portmon::test::IpText;
using portmon::test::MacText;

// A picture for the help: its pages show the form under this name with "help-" before it.
inline void HelpPicture(QWidget* form, const QString& name) {
    SavePicture(form, "help-" + name);
}

class DemoNetworkFixture : public CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        demo_ = portmon::test::DemoNetwork();
        ASSERT_FALSE(demo_.cards.empty());
        ASSERT_NO_FATAL_FAILURE(StartCards(portmon::test::DemoNetworkText()));
    }

    const sim::CardDescription& Card(const std::string& name) const {
        return portmon::test::DemoCard(demo_, name);
    }
    QString Mac(const std::string& name) const { return MacText(Card(name).mac); }
    // The card's row chosen in the list, as a click chooses it.
    void SelectCard(const std::string& name) { Select(Mac(name)); }

    // The command from its menu, `act` run on the dialog it opens (which `act` ends); a failure of the
    // test when none came.
    template <typename Dialog>
    void FromMenuOn(const char* command, std::function<void(Dialog&)> act) {
        auto shown = std::make_shared<bool>(false);
        OnDialog<Dialog>([shown, act](Dialog& dialog) {
            *shown = true;
            act(dialog);
        });
        FromMenu(command);
        EXPECT_TRUE(*shown) << "no " << Dialog::staticMetaObject.className() << " came from " << command;
    }

    sim::NetworkDescription demo_;
};

}  // namespace consoletest
