// Status notices from the trap listeners, the alert log, and the factory log.
#include <gtest/gtest.h>

#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "console/core/Alerts.h"
#include "console/core/EngineVersion.h"
#include "console/core/dialogs/frmNotify.h"
#include "console/tests/ConsoleFixture.h"
#include "console/tests/MessageRecorder.h"

namespace console {

// A record in a failure message: its three fields quoted, line breaks written as escapes.
void PrintTo(const AlertLogRecord& record, std::ostream* out) {
    const auto quoted = [](QString field) {
        return '"' + field.replace("\r", "\\r").replace("\n", "\\n").toStdString() + '"';
    };
    *out << quoted(record.name) << ", " << quoted(record.when) << ", " << quoted(record.status);
}

namespace {

TEST(AlertsTest, NoticesAreParsedAs32BitCodes) {
    const std::optional<TrapNotice> notice = ParseTrapNotice("2,127.0.2.1,1025");
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->kind, 2);
    EXPECT_EQ(notice->address, "127.0.2.1");
    EXPECT_EQ(notice->status, 1025);
    EXPECT_EQ(ParseTrapNotice("4,00005E200003,-1")->status, -1);
    EXPECT_EQ(ParseTrapNotice("4,00005E200003,2147483647")->status, 2147483647);
    for (const char* line :
         {"", "2,127.0.0.1", "x,127.0.0.1,3", "2,127.0.0.1,", "2,127.0.0.1,4294967296", "2,127.0.0.1,3x"}) {
        EXPECT_FALSE(ParseTrapNotice(line).has_value()) << line;
    }
}

TEST(AlertsTest, TheSenderIsFoundByTheFieldOfItsProtocol) {
    State().servers = {
        {"00005E000001", "Ip", "", 0, "127.0.0.1", "", "", 2, 2, 2, false, 1},
        {"00005E000002", "Ipx", "", 0, "0.0.0.0", "00FACADE00005E000002", "", 2, 1, 1, false, 1},
    };
    EXPECT_EQ(NoticeSender(*ParseTrapNotice("2,127.0.0.1,3"))->name, "Ip");
    EXPECT_EQ(NoticeSender(*ParseTrapNotice("1,00facade00005e000002,3"))->name, "Ipx");
    EXPECT_EQ(NoticeSender(*ParseTrapNotice("4,00005e000002,3"))->name, "Ipx");
    EXPECT_EQ(NoticeSender(*ParseTrapNotice("1,127.0.0.1,3")), nullptr);
    EXPECT_EQ(NoticeSender(*ParseTrapNotice("8,00005E000001,3")), nullptr);
    EXPECT_EQ(NoticeSender(*ParseTrapNotice("4,00005E00000,3")), nullptr);
}

// Every field comes back exactly as written, whatever a print server's name holds.
TEST(AlertsTest, LogRecordsReadBackWhateverTheNamesHold) {
    QTemporaryDir folder;
    const QString file = folder.filePath("alerts.log");
    const std::vector<AlertLogRecord> written = {
        {"Lab \"A\", left", "1/2/26  10:00", "COVER OPEN"},
        {"Plain", "1/2/26  10:01", "READY"},
        {"Desk\r\nTwo", "1/2/26  10:02", "PAPER OUT"},
        {"line\nfeed\n", "1/2/26  10:03", "READY"},
        {"\r", "", "\",\"\n\""},
        {"caf\u00e9", "1/2/26  10:04", "READY"},
    };
    for (const AlertLogRecord& record : written) {
        ASSERT_TRUE(AppendAlertLog(file, AlertLogLine(record.name, record.when, record.status)));
    }
    QFile log(file);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const AlertLog read = ReadAlertLog(log.readAll());
    EXPECT_EQ(read.damaged, 0);
    EXPECT_EQ(read.records, written);
    EXPECT_TRUE(AlertLogPath("log.dat").endsWith("/vorlane/log.dat"));
    EXPECT_EQ(AlertLogPath("/tmp/x.log"), "/tmp/x.log");
}

// What is not a record is skipped to the next line and counted; the records around it still read.
TEST(AlertsTest, DamagedLinesAreSkippedAndCounted) {
    const struct {
        const char* bytes;
        std::size_t records;
        int damaged;
    } cases[] = {
        {"\"a\",\"b\",\"c\"\n", 1, 0},
        {"\"a\",\"b\",\"c\"", 1, 0},                               // no line end after the last
        {"\"a\",\"b\",\"c\"\r\n\n  \n\"d\",\"e\",\"f\"\n", 2, 0},  // blank lines between
        {"damaged line\n\"a\",\"b\",\"c\"\n", 1, 1},
        {"\"a\",\"b\"\n\"a\",\"b\",\"c\"\n", 1, 1},         // two fields
        {"\"a\",\"b\",\"c\",\"d\"\n", 0, 1},                // four fields
        {"\"a\",\"b\",\"c\" x\n", 0, 1},                    // text after the last
        {"\"open,\"b\",\"c\"\n\"a\",\"b\",\"c\"\n", 1, 1},  // a broken quote costs its line only
        {"\"never closed\n", 0, 1},
    };
    for (const auto& c : cases) {
        const AlertLog log = ReadAlertLog(c.bytes);
        EXPECT_EQ(log.records.size(), c.records) << c.bytes;
        EXPECT_EQ(log.damaged, c.damaged) << c.bytes;
    }
}

// A record torn by a write that never ended (power lost inside its last field) is followed at once
// by the next record written. The log page of the alerts dialog shows every whole record, whatever
// its fields begin with, and counts only the torn ones as skipped.
TEST(AlertsTest, ATornRecordCostsOnlyItselfInTheLogPage) {
    const QByteArray torn = "\"Lobby\",\"1/2/26  10:00\",\"COVER OP";
    const QByteArray whole = "\"Hall\",\"1/2/26  10:01\",\"READY\"\n";
    const struct {
        const char* what;
        QByteArray bytes;
        std::vector<AlertLogRecord> shown;
        int skipped;
    } cases[] = {
        {"a name that begins with a line feed",
         torn + "\"\nDesk\",\"1/2/26  10:02\",\"PRINTING\"\n",
         {{"\nDesk", "1/2/26  10:02", "PRINTING"}},
         1},
        {"a date that begins with a line feed",
         torn + "\"Desk\",\"\n1/2/26  10:02\",\"PRINTING\"\n",
         {{"Desk", "\n1/2/26  10:02", "PRINTING"}},
         1},
        {"a name that begins with a line break",
         torn + "\"\r\nDesk\",\"1/2/26  10:02\",\"PRINTING\"\n",
         {{"\r\nDesk", "1/2/26  10:02", "PRINTING"}},
         1},
        {"a status that begins with a line feed",
         torn + "\"Desk\",\"1/2/26  10:02\",\"\nPRINTING\"\n",
         {{"Desk", "1/2/26  10:02", "\nPRINTING"}},
         1},
        {"a plain record", torn + whole, {{"Hall", "1/2/26  10:01", "READY"}}, 1},
        {"whole records around",
         whole + torn + "\"\nDesk\",\"1/2/26  10:02\",\"PRINTING\"\n" + whole,
         {{"Hall", "1/2/26  10:01", "READY"},
          {"\nDesk", "1/2/26  10:02", "PRINTING"},
          {"Hall", "1/2/26  10:01", "READY"}},
         1},
        {"two torn records in a row",
         torn + torn + "\"\nDesk\",\"1/2/26  10:02\",\"PRINTING\"\n",
         {{"\nDesk", "1/2/26  10:02", "PRINTING"}},
         2},
        {"a torn record at the end", whole + torn, {{"Hall", "1/2/26  10:01", "READY"}}, 1},
        {"no torn record",
         whole + "\"\nDesk\",\"1/2/26  10:02\",\"PRINTING\"\n",
         {{"Hall", "1/2/26  10:01", "READY"}, {"\nDesk", "1/2/26  10:02", "PRINTING"}},
         0},
    };
    QTemporaryDir folder;
    State() = ConsoleState();
    State().options.alertLogFile = folder.filePath("torn.log");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile log(State().options.alertLogFile);
        ASSERT_TRUE(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(log.write(c.bytes), c.bytes.size());
        log.close();
        consoletest::MessageRecorder boxes;
        frmNotify dialog;
        std::vector<AlertLogRecord> shown;
        for (int row = 0; row < dialog.Log()->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = dialog.Log()->topLevelItem(row);
            shown.push_back({item->text(0), item->text(1), item->text(2)});
        }
        EXPECT_EQ(shown, c.shown);
        std::vector<std::string> said;
        for (const MessageShown& box : boxes.Shown()) {
            said.push_back(box.text.toStdString());
        }
        const std::string skipped =
            "Lines of the alert log that could not be read were skipped: " + std::to_string(c.skipped);
        EXPECT_EQ(said, c.skipped == 0 ? std::vector<std::string>{} : std::vector<std::string>{skipped});
        if (std::string(c.what) == "whole records around") {
            dialog.Tabs()->setCurrentIndex(2);
            consoletest::SavePicture(&dialog, "frmNotify-log-after-a-torn-record");
        }
    }
}

TEST(AlertsTest, TheFactoryLogGoesToTheUsersDataFolder) {
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    EXPECT_TRUE(FactoryLogPath().startsWith(data.path()));
    ASSERT_TRUE(LogFactoryCommand("Lab", kDhcpSelected));
    ASSERT_TRUE(LogFactoryCommand("Lobby", kFactoryDefault));
    QFile log(FactoryLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith('"'));
    EXPECT_TRUE(lines[0].endsWith(": DHCP is selected in Lab\"")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(": Factory Default Command is proceeded in Lobby\""));
    qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace console
