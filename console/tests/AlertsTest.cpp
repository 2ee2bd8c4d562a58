// Status notices from the trap listeners, the alert log, and the factory log.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "console/core/Alerts.h"
#include "console/core/EngineVersion.h"

namespace console {
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

// Reads one log line back into its fields, as a reader of the log would.
std::vector<QString> LogFields(const QString& line) {
    std::vector<QString> fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

TEST(AlertsTest, LogLinesReadBackWhateverTheNamesHold) {
    QTemporaryDir folder;
    const QString file = folder.filePath("alerts.log");
    ASSERT_TRUE(AppendAlertLog(file, AlertLogLine("Lab \"A\", left", "1/2/26  10:00", "COVER OPEN")));
    ASSERT_TRUE(AppendAlertLog(file, AlertLogLine("Plain", "1/2/26  10:01", "READY")));
    QFile log(file);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(LogFields(lines[0]), (std::vector<QString>{"Lab \"A\", left", "1/2/26  10:00", "COVER OPEN"}));
    EXPECT_EQ(LogFields(lines[1]), (std::vector<QString>{"Plain", "1/2/26  10:01", "READY"}));
    EXPECT_TRUE(AlertLogPath("log.dat").endsWith("/vorlane/log.dat"));
    EXPECT_EQ(AlertLogPath("/tmp/x.log"), "/tmp/x.log");
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
