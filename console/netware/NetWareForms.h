#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "netware/Tessik.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace console {

class HintLine;

// What the NetWare set-up dialogs share: their placement, the texts they hand the helper library,
// its lists, and the guide panel under each dialog.

// The helper library takes and gives 8-bit texts.
QByteArray NetWareText(const QString& text);

// 250 twips to the right of and 425 twips below the owner's top left corner.
void PlaceAgainst(QWidget* dialog, QWidget* owner);

// A list export's result, its text (empty unless the result is 0) and record count.
struct NetWareList {
    NwResult result = 0;
    QString text;
    std::int32_t count = 0;
};
using ListCall = std::function<NwResult(char* buffer, std::uint32_t* length, std::int32_t* count)>;
// Calls a list export with a buffer of 7000 characters; a length it gives back beyond the buffer
// counts as "does not fit".
NetWareList ReadNetWareList(const ListCall& call);

// The guide panel pnlOpGuide around the hint line; moving over any of `clearing` empties the line.
QWidget* GuidePanel(HintLine* hint, std::initializer_list<QWidget*> clearing);

QPushButton* NamedButton(const char* name, const QString& caption);
QLabel* NamedLabel(const char* name, const QString& caption, QWidget* buddy);
QLineEdit* NamedBox(const char* name);

}  // namespace console
