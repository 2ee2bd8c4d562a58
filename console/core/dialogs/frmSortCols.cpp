#include "console/core/dialogs/frmSortCols.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/dialogs/DialogKit.h"

namespace console {

namespace {

constexpr int kBaseId = 1200;

}  // namespace

frmSortCols::frmSortCols(QWidget* parent)
    : QDialog(parent),
      optAsc(new QRadioButton("Ascending")),
      optDesc(new QRadioButton("Descending")),
      pbuOK(new QPushButton("&OK")),
      pbuCancel(new QPushButton("&Cancel")),
      lblTips(new HintLine(this)) {
    setObjectName("frmSortCols");
    optAsc->setObjectName("optAsc");
    optDesc->setObjectName("optDesc");
    pbuOK->setObjectName("pbuOK");
    pbuCancel->setObjectName("pbuCancel");
    pbuOK->setDefault(true);
    auto* lblSortOrder = new QLabel("Sort Order:");
    auto* frameOrder = new QGroupBox;
    frameOrder->setObjectName("frameOrder");
    auto* order = new QVBoxLayout(frameOrder);
    order->addWidget(lblSortOrder);
    order->addWidget(optAsc);
    order->addWidget(optDesc);
    order->addStretch(1);
    auto* frameSort = new QGroupBox("Sort by:");
    frameSort->setObjectName("frameSort");
    auto* columns = new QGridLayout(frameSort);
    auto* columnGroup = new QButtonGroup(this);
    CaptionOrder captions;
    captions << optAsc << optDesc << lblSortOrder << frameSort;
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        optColumns[column] = new QRadioButton(QString("Column %1").arg(column + 1));
        optColumns[column]->setObjectName(QString("optColumns%1").arg(column));
        columnGroup->addButton(optColumns[column]);
        columns->addWidget(optColumns[column], static_cast<int>(column % 4), static_cast<int>(column / 4));
        captions << optColumns[column];
    }
    captions << pbuCancel << pbuOK;
    auto* frames = new QHBoxLayout;
    frames->addWidget(frameSort, 2);
    frames->addWidget(frameOrder, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addWidget(HintPanel(lblTips));
    layout->addLayout(ButtonRow({pbuOK, pbuCancel}));
    LocalizeForm(this, kBaseId, captions);
    lblTips->Attach(frameSort, 15249);
    lblTips->Attach(frameOrder, 15250);

    const ConsoleState& state = State();
    (state.options.sortDescending ? optDesc : optAsc)->setChecked(true);
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        optColumns[column]->setText(state.columnTitles[column]);
        optColumns[column]->setEnabled(state.options.columns[column].visible || column == kNameColumn);
    }
    const int sorted = state.options.sortColumn;
    if (sorted >= 1 && sorted <= static_cast<int>(kColumnCount)) {
        optColumns[static_cast<std::size_t>(sorted - 1)]->setChecked(true);
    }
    connect(pbuOK, &QPushButton::clicked, this, &frmSortCols::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    CenterForm(this);
}

void frmSortCols::pbuOK_Click() {
    DisplayOptions& options = State().options;
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        if (optColumns[column]->isChecked()) {
            options.sortColumn = static_cast<int>(column) + 1;
            break;
        }
    }
    options.sortDescending = optDesc->isChecked();
    accept();
}

}  // namespace console
