#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class QLineEdit;

// The console's reads and writes of a print server: thin wrappers over the SNMP library that name
// the device by its hardware address (the current row's unless given), the parsers of its value
// texts, and small checks of input boxes.
namespace console {

// One get as every read of the console makes it; the value text (type code, comma, value) in `value`.
std::int32_t SnmpGet(const QString& adapter, const QString& oid, QString& value);
// One set of a value text ("1,1", "2,3,abc").
std::int32_t SnmpSet(const QString& adapter, const QString& oid, const QString& valueText);

// A get of the protection switch on the current row: the library's result, 0 with no current row.
std::int32_t ProbePrinter();
enum PasswordState : int { kPasswordOff = 0, kPasswordOn = 1, kPasswordUnknown = 2 };
// The protection switch of the current row; a failure is shown and gives kPasswordUnknown, and so
// does a value that is not a number.
PasswordState IsPasswordEnabled();
// kind 2: the octet string's bytes; any other kind: the value after its type code.
std::int32_t GetObjects(const QString& adapter, const QString& oid, QString& value, int kind);
// Reads password object 1 (kind 1) or 2 into CurrentPassword; a failure is shown.
void GetPassword(int kind);
std::int32_t SetPassword(const QString& adapter, const QString& password, int kind);
// Whether the current row's print server has the PostScript option; a failure is shown and gives false.
bool HasPostScript();

// The values of an SnmpValueText in order. An octet string is taken by its byte count (commas
// included); unless keepBlanks, trailing blanks of the reply are dropped first.
std::vector<QString> ParseReply(const QString& reply, bool keepBlanks = false);
// The same, but an octet string's value runs to the next comma like any other.
std::vector<QString> ParseReplyList(const QString& reply);
// The parts of a dotted text.
std::vector<QString> ParseReplyPairs(const QString& text);

// True when the box holds a whole number within the range (an empty box becomes "0"); otherwise the
// range is shown and the answer is false.
bool ValidateRange(QLineEdit* box, int minimum, int maximum);
// The bytes the text takes as an octet string.
int TextByteWidth(const QString& text);

}  // namespace console
