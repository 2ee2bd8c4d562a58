#pragma once

// Two simulated cards, a private cupsd whose queues print through the backend to them, and the real
// main window (offscreen) open on them with a port "Card-1" on the first card, its row chosen; the
// monitor's dialogs and boxes, which live in its library, are found by their title.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "console/core/ConsoleState.h"
#include "console/core/NewLook.h"
#include "console/core/PrinterList.h"
#include "console/core/QueuePump.h"
#include "console/core/dialogs/frmSelectPort.h"
#include "console/tests/ConsoleFixture.h"
#include "console/tests/MessageRecorder.h"
#include "platform/spooler/Spooler.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "portmonitor/tests/CardBed.h"
#include "portmonitor/tests/HeldJob.h"
#include "portmonitor/tests/PrivateCupsd.h"
#include "simulator/Simulator.h"
#include "tests/QuickExchanges.h"
#include "transport/ProtocolMask.h"

namespace console {

using consoletest::SavePicture;
using portmon::test::CardBed;
using portmon::test::HeldJob;
using portmon::test::PrivateCupsd;

constexpr std::size_t kCards = 2;

// Watches for a dialog a command opens (the monitor's dialogs and boxes live in its library, so they
// are found by their title) and hands it to `act` once it is `ready`, as a person's hand. The watch
// never waits itself: the dialog may be busy (a detection pumps events) when it looks.
class WindowWatch {
  public:
    using Ready = std::function<bool(QWidget*)>;
    WindowWatch(const QString& title, std::function<void(QWidget*)> act, Ready ready = nullptr)
        : act_(std::move(act)) {
        QObject::connect(&poll_, &QTimer::timeout, [this, title, ready] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->isVisible() && widget->windowTitle() == title && qobject_cast<QDialog*>(widget) &&
                    (!ready || ready(widget))) {
                    poll_.stop();
                    seen_ = true;
                    act_(widget);
                    return;
                }
            }
        });
        poll_.start(20);
    }
    bool Seen() const { return seen_; }

  private:
    QTimer poll_;
    std::function<void(QWidget*)> act_;
    bool seen_ = false;
};

inline QPushButton* Button(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// The port dialog once its detection has listed every card.
inline bool Listed(QWidget* dialog) {
    const QTreeWidget* list = dialog->findChild<QTreeWidget*>();
    return list != nullptr && list->topLevelItemCount() == int{kCards};
}

inline std::optional<std::string> PortAdapter(const std::string& port) {
    const std::string path = std::string(plat::kAdapterPortsKey) + "\\" + port;
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str());
    return key ? key->ReadText("MAC Address") : std::nullopt;
}

inline bool HasQueue(const std::string& name) {
    std::vector<plat::PrinterDevice> printers;
    EXPECT_TRUE(plat::EnumPrinters(printers));
    return std::any_of(printers.begin(), printers.end(),
                       [&](const plat::PrinterDevice& printer) { return printer.name == name; });
}

class PortCommandsFixture : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StoreQuickExchangeSettings());
        bed_ = new CardBed(kCards, kProtocolIp);
        agents_ = new sim::Simulator;
        for (std::size_t card = 0; card < kCards; ++card) {
            agents_->AddCard(bed_->Card(card));
        }
        std::string error;
        ASSERT_TRUE(agents_->Start(error)) << error;
        cupsd_ = new PrivateCupsd;
        ASSERT_TRUE(cupsd_->Start(VORLANE_BACKEND, error)) << error;
    }
    static void TearDownTestSuite() {
        delete cupsd_;
        delete agents_;
        delete bed_;
        cupsd_ = nullptr;
        agents_ = nullptr;
        bed_ = nullptr;
    }

    // Two print servers, a port "Card-1" on the first with its queue, and the console open on them
    // with the first one's row chosen.
    void SetUp() override {
        CardBed::StoreQuickSettings();
        for (std::size_t card = 0; card < kCards; ++card) {
            bed_->StoreCard(card, kProtocolIp);
        }
        AddPort("Card-1", 0, true);
        ASSERT_NO_FATAL_FAILURE(StartConsole());
        console_->FirstDetection();
        console_->List()->SelectMac(QString::fromStdString(bed_->Mac(0)));
        emit console_->List()->ItemClicked();
    }
    void TearDown() override {
        consoletest::CloseConsole(console_);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::vector<plat::PrinterDevice> printers;
        plat::EnumPrinters(printers);
        for (const plat::PrinterDevice& printer : printers) {
            plat::DeletePrinter(printer.name);
        }
        plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterPortsKey);
    }

    // The console's start up to its splash: no detection yet.
    void StartConsole() {
        State() = ConsoleState();
        console_ = std::make_unique<NewLook>();
        ASSERT_TRUE(console_->Form_Load());
        console_->show();
    }

    // A port on the card as Add Port leaves it, with a queue of its name or without one.
    void AddPort(const std::string& port, std::size_t card, bool withQueue) {
        const auto key = plat::StoreKeyHandle::Create(
            plat::kStoreLocalMachine, (std::string(plat::kAdapterPortsKey) + "\\" + port).c_str());
        ASSERT_TRUE(key);
        key->WriteText("MAC Address", bed_->Mac(card));
        const auto entry = plat::StoreKeyHandle::Open(
            plat::kStoreLocalMachine, (std::string(plat::kAdapterOnlyKey) + "\\" + bed_->Mac(card)).c_str(),
            plat::kStoreReadWrite);
        ASSERT_TRUE(entry);
        entry->AddToNumber("Category", 4);
        if (withQueue) {
            ASSERT_TRUE(cupsd_->AddQueue(port, port));
        }
    }

    QAction* Command(const char* name) const { return console_->Action(name); }

    inline static CardBed* bed_ = nullptr;
    inline static sim::Simulator* agents_ = nullptr;
    inline static PrivateCupsd* cupsd_ = nullptr;
    QueuePump pump_;
    std::unique_ptr<NewLook> console_;
};

}  // namespace console
