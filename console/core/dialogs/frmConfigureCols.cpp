#include "console/core/dialogs/frmConfigureCols.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/dialogs/DialogKit.h"

namespace console {

namespace {

constexpr int kBaseId = 1000;
constexpr int kInstalledPrintersGroup = 2;

}  // namespace

frmConfigureCols::frmConfigureCols(int treeGroup, QWidget* parent)
    : QDialog(parent), pbuOK(new QPushButton("&OK")), pbuCancel(new QPushButton("&Cancel")) {
    setObjectName("frmConfigureCols");
    pbuOK->setObjectName("pbuOK");
    pbuCancel->setObjectName("pbuCancel");
    pbuOK->setDefault(true);
    auto* frame = new QGroupBox("Display Columns");
    frame->setObjectName("frmColumn");
    auto* boxes = new QGridLayout(frame);
    CaptionOrder order;
    order << pbuCancel << pbuOK << frame;
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        chkHeading[column] = new QCheckBox(QString("Column %1").arg(column + 1));
        chkHeading[column]->setObjectName(QString("chkHeading%1").arg(column));
        boxes->addWidget(chkHeading[column], static_cast<int>(column % 4), static_cast<int>(column / 4));
        order << chkHeading[column];
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(ButtonRow({pbuOK, pbuCancel}));
    LocalizeForm(this, kBaseId, order);
    const ConsoleState& state = State();
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        chkHeading[column]->setText(state.columnTitles[column]);
        chkHeading[column]->setChecked(state.options.columns[column].visible);
    }
    chkHeading[kNameColumn]->setChecked(true);
    chkHeading[kNameColumn]->setEnabled(false);
    if (treeGroup != kInstalledPrintersGroup) {
        for (const std::size_t column : {kPortColumn, kWindowsPrinterColumn}) {
            chkHeading[column]->setChecked(false);
            chkHeading[column]->setEnabled(false);
        }
    }
    connect(pbuOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    CenterForm(this);
}

std::array<bool, kColumnCount> frmConfigureCols::Chosen() const {
    std::array<bool, kColumnCount> chosen{};
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        chosen[column] = chkHeading[column]->isChecked();
    }
    return chosen;
}

}  // namespace console
