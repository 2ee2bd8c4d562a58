#pragma once

// The NetWare page of the network interface dialog on one card of the real console offscreen, with
// what a test reads back: the page's grid, the card's service table and the NetWare directory.
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <string>

#include "console/configuration/ConfigurationLibraries.h"
#include "console/configuration/frmConfiguration.h"
#include "console/configuration/tests/ConfigurationFixture.h"
#include "console/netware/NameListGrid.h"
#include "console/netware/frmNwError.h"
#include "platform/netware/NetWareClient.h"

namespace console {

// The NetWare network of the page tests: the file server FS1 in the tree ACME, whose current context
// is ENG.ORG.
inline const char* const kPageNetWare[] = {"server FS1 ACME",
                                           "user FS1 ADMIN secret",
                                           "user FS1 CLERK pw ordinary",
                                           "queue FS1 Q1",
                                           "queue FS1 Q2",
                                           "print-server FS1 PS1",
                                           "tree ACME",
                                           "object ACME container ORG",
                                           "object ACME container ENG.ORG",
                                           "object ACME user ADMIN.ORG secret",
                                           "object ACME volume SYS.ORG",
                                           "object ACME queue Q1.ENG.ORG",
                                           "object ACME queue Q2.ENG.ORG",
                                           "object ACME print-server PS1.ENG.ORG",
                                           "context ACME ENG.ORG"};

inline void Type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
}

// The row of the grid whose name is `name`; -1 when none.
inline int RowNamed(const QTableWidget* grid, const QString& name) {
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (GridRowName(grid, row) == name) {
            return row;
        }
    }
    return -1;
}

inline void Pick(QTableWidget* grid, const QString& name) {
    const int row = RowNamed(grid, name);
    ASSERT_GE(row, 0) << name.toStdString();
    HighlightGridRow(grid, row);
}

class NetWarePageFixture : public ConfigurationFixture {
  protected:
    // The card by its hardware address, also its adapter name.
    explicit NetWarePageFixture(const char* card) : card_(card), adapter_(card) {}

    void SetUp() override {
        ConfigurationFixture::SetUp();
        WireNetWareErrorDialog();
    }
    // The client lives as long as the process: its connections go with each test's network.
    void TearDown() override {
        page_.reset();
        plat::NwConnection connection = 0;
        for (const char* server : {"FS1", "OFFICE"}) {
            while (plat::NwConnectionByName(server, connection) == plat::kNwSuccess) {
                plat::NwCloseConnection(connection);
            }
        }
        ConfigurationFixture::TearDown();
    }

    // The dialog on the card's NetWare page, NetWare switched on.
    frmConfiguration* OpenPage() { return OpenPage(card_); }
    frmConfiguration* OpenPage(const QString& card) {
        page_.reset();
        Select(card);
        page_ = std::make_unique<frmConfiguration>(console_.get());
        EXPECT_TRUE(page_->Form_Load());
        page_->show();
        page_->Tabs()->setCurrentIndex(frmConfiguration::kNetWare);
        if (!page_->chkNetware->isChecked()) {
            page_->chkNetware->click();
        }
        return page_.get();
    }
    QString Cell(int row, int column) const {
        const QTableWidgetItem* item = page_->grdQueues->item(row, column);
        return item != nullptr ? item->text() : QString();
    }
    // A row of the page's grid: queue, host, mode, print server.
    QStringList Row(int row) const { return {Cell(row, 1), Cell(row, 2), Cell(row, 3), Cell(row, 4)}; }
    void SelectRow(int row) { page_->grdQueues->selectRow(row); }

    std::string Show(const std::string& name) { return cards_.Listing("netware show " + name); }
    // Whether the directory has the queue on the printer's serviced list (names as NetWare compares
    // them, without regard to case).
    bool Serviced(const std::string& host, const std::string& printer, const std::string& queue) {
        const std::string objects = QString::fromStdString(Show(host)).toUpper().toStdString();
        const std::string wanted = QString::fromStdString(printer).toUpper().toStdString();
        const std::size_t line = objects.find("PRINTER " + wanted + " ");
        const std::string entry = "QUEUE=" + QString::fromStdString(queue).toUpper().toStdString() + "/";
        return line != std::string::npos &&
               objects.substr(line, objects.find('\n', line) - line).find(entry) != std::string::npos;
    }
    // The card's service table as the configuration helper lists it.
    std::string CardRows() { return CardRows(adapter_); }
    std::string CardRows(const std::string& adapter) {
        char list[2048];
        std::uint32_t length = sizeof list - 1;
        std::uint32_t count = 0;
        EXPECT_EQ(configlib::NwSNMPInit(adapter.c_str(), list, &length, &count), kNwOk) << adapter;
        return std::string(list, length);
    }

    const QString card_;
    const std::string adapter_;
    std::unique_ptr<frmConfiguration> page_;
};

}  // namespace console
