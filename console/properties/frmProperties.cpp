#include "console/properties/frmProperties.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/properties/DeviceRequests.h"
#include "console/properties/EngineTypeRule.h"
#include "console/properties/NumberBox.h"

namespace console {

namespace {

constexpr int kBaseId = 4000;
constexpr int kPsTab = 6;
constexpr int kNoPostScript = 32109;
constexpr int kUnableToReadAll = 500;
constexpr int kNoFrontPanel = 12109;
constexpr int kNumberHint = 4099;

frmProperties::PauseHook& Hook() {
    static frmProperties::PauseHook hook;
    return hook;
}

QLineEdit* ReadOnlyBox() {
    auto* box = new QLineEdit;
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QComboBox* ChoiceList() {
    auto* list = new QComboBox;
    list->setMinimumWidth(190);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
}

// A page of label and control pairs in one or two columns, each column filled from the top, with
// whole-width lines below them. A hidden pair leaves no gap.
class PageGrid {
  public:
    explicit PageGrid(QWidget* page) : page_(new QVBoxLayout(page)), columns_(new QHBoxLayout) {
        page_->setContentsMargins(16, 16, 16, 16);
        page_->setSpacing(12);
        columns_->setSpacing(28);
        page_->addLayout(columns_);
        for (QFormLayout*& form : forms_) {
            form = new QFormLayout;
            form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
            form->setHorizontalSpacing(10);
            form->setVerticalSpacing(8);
            form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
            columns_->addLayout(form);
        }
    }
    void Add(int column, QWidget* label, QWidget* control) { forms_[column]->addRow(label, control); }
    QFormLayout* Column(int column) const { return forms_[column]; }
    void AddWide(QWidget* widget) { page_->addWidget(widget); }
    void Finish() {
        columns_->addStretch(1);
        page_->addStretch(1);
    }

  private:
    QVBoxLayout* page_;
    QHBoxLayout* columns_;
    QFormLayout* forms_[2] = {};
};

QWidget* OptionPair(QRadioButton* first, QRadioButton* second) {
    auto* pair = new QWidget;
    auto* layout = new QHBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addStretch();
    auto* group = new QButtonGroup(pair);
    group->addButton(first);
    group->addButton(second);
    return pair;
}

// A maintenance command: what it does, and its button.
QGroupBox* CommandRow(QLabel* label, QPushButton* button) {
    auto* box = new QGroupBox;
    auto* layout = new QHBoxLayout(box);
    label->setWordWrap(true);
    layout->addWidget(label, 1);
    layout->addWidget(button);
    button->setMinimumWidth(130);
    return box;
}

}  // namespace

frmProperties::frmProperties(QWidget* parent)
    : QDialog(parent),
      tabDetails(new QTabWidget),
      txtPrinterName(ReadOnlyBox()),
      txtModel(ReadOnlyBox()),
      txtVersion(ReadOnlyBox()),
      lblPrinterName(new QLabel("Printer name:")),
      lblModel(new QLabel("Model:")),
      lblVersion(new QLabel("Software version:")),
      lblOrientation(new QLabel("Orientation:")),
      optPortrait(new QRadioButton("Portrait")),
      optLandscape(new QRadioButton("Landscape")),
      lblXon(new QLabel("Robust XON:")),
      optXON(new QRadioButton("On")),
      optXOFF(new QRadioButton("Off")),
      cmbTypeFace(ChoiceList()),
      lblTypeFace(new QLabel("Typeface:")),
      lblMenuClear(new QLabel("Menus")),
      cmdMenuClear(new QPushButton("Reset")),
      lblFuser(new QLabel("Fuser")),
      cmdFuser(new QPushButton("Clean")),
      lblOpc(new QLabel("Drum")),
      cmdOpc(new QPushButton("Clean")),
      lblPCL(new QLabel("PCL fonts")),
      cmdPCL(new QPushButton("Print")),
      lblPS(new QLabel("PS fonts")),
      cmdPS(new QPushButton("Print")),
      lblTips(new QLabel),
      ProgressBar1(new QProgressBar),
      pbuOK(new QPushButton("OK")),
      pbuCancel(new QPushButton("Cancel")) {
    setObjectName("frmProperties");
    pbuOK->setObjectName("pbuOK");
    pbuCancel->setObjectName("pbuCancel");
    BuildLayout();
    ConnectHandlers();
    Localize();
}

void frmProperties::SetPauseHook(PauseHook hook) {
    Hook() = std::move(hook);
}

void frmProperties::Pause(int milliseconds) const {
    if (Hook()) {
        Hook()(milliseconds);
    } else {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    }
}

void frmProperties::AddList(QFormLayout* column, Setting setting, const char* caption) {
    auto* label = new QLabel(caption);
    auto* list = ChoiceList();
    lists_[setting] = {list, label};
    column->addRow(label, list);
}

void frmProperties::AddNumber(QFormLayout* column, Setting setting, const char* caption, NumberBox* box,
                              double scale, bool rangeMessage, const char* fallback) {
    auto* label = new QLabel(caption);
    box->setMinimumWidth(110);
    numbers_[setting] = {box, label, scale, rangeMessage, fallback, false, {}};
    column->addRow(label, box);
}

void frmProperties::BuildLayout() {
    tabDetails->addTab(ModelPage(), "Model Details");
    tabDetails->addTab(PrintingPage(), "Printing Menu");
    tabDetails->addTab(ConfigPage(), "Config Menu");
    tabDetails->addTab(JobPage(), "Job Menu");
    tabDetails->addTab(PclPage(), "PCL Menu");
    tabDetails->addTab(IoPage(), "I/O Menu");
    tabDetails->addTab(PsPage(), "PS Menu");
    lblTips->setFrameShape(QFrame::StyledPanel);
    lblTips->setFrameShadow(QFrame::Sunken);
    lblTips->setMinimumHeight(lblTips->fontMetrics().height() + 6);
    ProgressBar1->setRange(0, 50);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumWidth(160);
    ProgressBar1->hide();
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(pbuOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(pbuCancel, QDialogButtonBox::RejectRole);
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblTips, 1);
    foot->addWidget(ProgressBar1);
    foot->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(tabDetails, 1);
    layout->addLayout(foot);
    MakeDefaultButton(pbuOK);
}

QWidget* frmProperties::ModelPage() {
    auto* page = new QWidget;
    PageGrid grid(page);
    for (QLineEdit* box : {txtPrinterName, txtModel, txtVersion}) {
        box->setMinimumWidth(300);
    }
    grid.Add(0, lblPrinterName, txtPrinterName);
    grid.Add(0, lblModel, txtModel);
    grid.Add(0, lblVersion, txtVersion);
    grid.Finish();
    return page;
}

QWidget* frmProperties::PrintingPage() {
    auto* page = new QWidget;
    PageGrid grid(page);
    QFormLayout* left = grid.Column(0);
    QFormLayout* right = grid.Column(1);
    AddList(left, Setting::PaperSize, "Paper size:");
    AddList(left, Setting::MpSize, "MP tray size:");
    AddNumber(left, Setting::Copies, "Copies:", new NumberBox(1, 999, 1, true), 1, false, "1");
    grid.Add(0, lblOrientation, OptionPair(optPortrait, optLandscape));
    AddList(left, Setting::Tray, "Paper tray:");
    AddNumber(left, Setting::TopMargin, "Top margin:", new NumberBox(0, 9.9, 0.1, false), 10);
    AddNumber(left, Setting::LeftMargin, "Left margin:", new NumberBox(0, 9.9, 0.1, false), 10);
    AddList(right, Setting::Duplex, "Duplex:");
    AddList(right, Setting::AutoCr, "Line ending:");
    AddList(right, Setting::Resolution, "Resolution (dpi):");
    AddList(right, Setting::WideA4, "Wide A4:");
    AddNumber(right, Setting::CustomWidth, "Custom width (mm):", new NumberBox(76, 215, 1, true), 1, true,
              "76");
    AddNumber(right, Setting::CustomHeight, "Custom height (mm):", new NumberBox(127, 355, 1, true), 1, true,
              "127");
    grid.Finish();
    return page;
}

QWidget* frmProperties::ConfigPage() {
    auto* page = new QWidget;
    PageGrid grid(page);
    const std::pair<Setting, const char*> settings[] = {
        {Setting::Emulation, "Emulation:"},        {Setting::TraySwitch, "Tray switch:"},
        {Setting::LockTray, "Lock tray:"},         {Setting::PowerSave, "Power save:"},
        {Setting::AutoContinue, "Auto continue:"}, {Setting::TonerSave, "Toner save:"},
        {Setting::JamRecovery, "Jam recovery:"},   {Setting::TonerLow, "Toner low:"},
        {Setting::Altitude, "Altitude:"},
    };
    int index = 0;
    for (const auto& [setting, caption] : settings) {
        AddList(grid.Column(index++ < 5 ? 0 : 1), setting, caption);
    }
    grid.Finish();
    return page;
}

QWidget* frmProperties::JobPage() {
    auto* page = new QWidget;
    PageGrid grid(page);
    QFormLayout* left = grid.Column(0);
    QFormLayout* right = grid.Column(1);
    AddList(left, Setting::Srt, "Image enhancement:");
    AddNumber(left, Setting::IoTimeout, "I/O time-out (s):", new NumberBox(0, 300, 1, false), 1, true);
    AddList(left, Setting::Density, "Toner density:");
    AddList(left, Setting::PaperType, "Paper type:");
    AddList(left, Setting::Smet, "Edge smoothing:");
    AddNumber(right, Setting::DuplexTop, "Duplex top margin:", new NumberBox(0, 9.9, 0.1, true), 10);
    AddNumber(right, Setting::DuplexLeft, "Duplex left margin:", new NumberBox(0, 9.9, 0.1, true), 10);
    AddNumber(right, Setting::ShortEdge, "Short edge binding:", new NumberBox(0, 22, 1, false), 10);
    AddNumber(right, Setting::LongEdge, "Long edge binding:", new NumberBox(0, 22, 1, false), 10);
    grid.AddWide(CommandRow(lblMenuClear, cmdMenuClear));
    grid.AddWide(CommandRow(lblFuser, cmdFuser));
    grid.AddWide(CommandRow(lblOpc, cmdOpc));
    grid.Finish();
    return page;
}

QWidget* frmProperties::PclPage() {
    auto* page = new QWidget;
    PageGrid grid(page);
    cmbTypeFace->setMinimumWidth(230);
    grid.Add(0, lblTypeFace, cmbTypeFace);
    AddList(grid.Column(0), Setting::SymbolSet, "Symbol set:");
    AddList(grid.Column(0), Setting::Courier, "Courier:");
    QFormLayout* right = grid.Column(1);
    AddNumber(right, Setting::Lines, "Lines per page:", new NumberBox(5, 128, 1, false), 1, true);
    AddNumber(right, Setting::Pitch, "Pitch:", new NumberBox(0.44, 99.99, 0.01, false), 100, false);
    AddNumber(right, Setting::Point, "Point size:", new NumberBox(4, 99.75, 0.25, false), 4, false);
    grid.AddWide(CommandRow(lblPCL, cmdPCL));
    grid.Finish();
    return page;
}

QWidget* frmProperties::IoPage() {
    auto* page = new QWidget;
    PageGrid grid(page);
    AddList(grid.Column(0), Setting::BaudRate, "Baud rate:");
    grid.Add(0, lblXon, OptionPair(optXON, optXOFF));
    grid.Finish();
    return page;
}

QWidget* frmProperties::PsPage() {
    auto* page = new QWidget;
    PageGrid grid(page);
    AddList(grid.Column(0), Setting::PsError, "Print PostScript errors:");
    grid.AddWide(CommandRow(lblPS, cmdPS));
    grid.Finish();
    return page;
}

void frmProperties::Localize() {
    CaptionOrder order;
    order << pbuOK << pbuCancel << tabDetails << lblPrinterName << lblModel << lblVersion;
    const auto label = [this](Setting setting) {
        return lists_.count(setting) != 0 ? lists_.at(setting).label : numbers_.at(setting).label;
    };
    for (Setting setting : {Setting::PaperSize, Setting::MpSize, Setting::Copies}) {
        order << label(setting);
    }
    order << lblOrientation << optPortrait << optLandscape;
    for (Setting setting :
         {Setting::Tray,         Setting::TopMargin,    Setting::LeftMargin, Setting::Duplex,
          Setting::AutoCr,       Setting::Resolution,   Setting::WideA4,     Setting::CustomWidth,
          Setting::CustomHeight, Setting::Emulation,    Setting::TraySwitch, Setting::LockTray,
          Setting::PowerSave,    Setting::AutoContinue, Setting::TonerSave,  Setting::JamRecovery,
          Setting::TonerLow,     Setting::Altitude,     Setting::Srt,        Setting::IoTimeout,
          Setting::Density,      Setting::PaperType,    Setting::Smet,       Setting::DuplexTop,
          Setting::DuplexLeft,   Setting::ShortEdge,    Setting::LongEdge}) {
        order << label(setting);
    }
    order << lblMenuClear << cmdMenuClear << lblFuser << cmdFuser << lblOpc << cmdOpc << lblTypeFace;
    for (Setting setting :
         {Setting::SymbolSet, Setting::Lines, Setting::Pitch, Setting::Point, Setting::Courier}) {
        order << label(setting);
    }
    order << lblPCL << cmdPCL << label(Setting::BaudRate) << lblXon << optXON << optXOFF
          << label(Setting::PsError) << lblPS << cmdPS;
    LocalizeForm(this, kBaseId, order);
}

void frmProperties::ConnectHandlers() {
    for (const auto& [setting, control] : lists_) {
        connect(control.list, &QComboBox::activated, this,
                [this, setting = setting] { ListClicked(setting); });
    }
    for (const auto& [setting, control] : numbers_) {
        connect(control.box, &NumberBox::Edited, this, [this, setting = setting] { NumberEdited(setting); });
        connect(control.box, &NumberBox::editingFinished, this,
                [this, setting = setting] { CommitNumber(setting); });
        control.box->installEventFilter(this);
    }
    connect(cmbTypeFace, &QComboBox::activated, this, [this](int position) {
        if (!loading_) {
            slots_.Store(Setting::Typeface, QString::number(position));
            ApplyTypefaceRule();
        }
    });
    connect(optPortrait, &QRadioButton::clicked, this, [this] { OptionClicked(Setting::Orientation, "1"); });
    connect(optLandscape, &QRadioButton::clicked, this, [this] { OptionClicked(Setting::Orientation, "2"); });
    connect(optXOFF, &QRadioButton::clicked, this, [this] { OptionClicked(Setting::RobustXon, "1"); });
    connect(optXON, &QRadioButton::clicked, this, [this] { OptionClicked(Setting::RobustXon, "2"); });
    connect(tabDetails, &QTabWidget::currentChanged, this, &frmProperties::ShowTabPanels);
    connect(pbuOK, &QPushButton::clicked, this, &frmProperties::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdMenuClear, &QPushButton::clicked, this, &frmProperties::cmdMenuClear_Click);
    connect(cmdFuser, &QPushButton::clicked, this, &frmProperties::cmdFuser_Click);
    connect(cmdOpc, &QPushButton::clicked, this, &frmProperties::cmdOpc_Click);
    connect(cmdPCL, &QPushButton::clicked, this, &frmProperties::cmdPCL_Click);
    connect(cmdPS, &QPushButton::clicked, this, &frmProperties::cmdPS_Click);
}

QComboBox* frmProperties::List(Setting setting) const {
    if (setting == Setting::Typeface) {
        return cmbTypeFace;
    }
    const auto found = lists_.find(setting);
    return found == lists_.end() ? nullptr : found->second.list;
}

NumberBox* frmProperties::Box(Setting setting) const {
    const auto found = numbers_.find(setting);
    return found == numbers_.end() ? nullptr : found->second.box;
}

QRadioButton* frmProperties::Option(Setting setting, bool first) const {
    if (setting == Setting::Orientation) {
        return first ? optPortrait : optLandscape;
    }
    return first ? optXON : optXOFF;
}

QPushButton* frmProperties::Command(Setting setting) const {
    switch (setting) {
        case Setting::MenuClear:
            return cmdMenuClear;
        case Setting::Fuser:
            return cmdFuser;
        case Setting::Opc:
            return cmdOpc;
        default:
            return nullptr;
    }
}

void frmProperties::Choose(Setting setting, const QString& text) {
    QComboBox* list = List(setting);
    const int item = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentIndex(item);
    emit list->activated(item);
}

void frmProperties::Form_Load() {
    adjustSize();
    CenterForm(this);
    engineType_ = kEngineCompact;
    writeDelay_ = 100;
    loading_ = true;
    if (const PrinterRow* row = CurrentPrinter()) {
        adapter_ = row->mac;
    }
    ReadAllMenus();
    if (readOk_) {
        tabDetails->setCurrentIndex(0);
        loading_ = false;
    }
}

bool frmProperties::Form_Activate() {
    if (engineType_ == kEngineExternal) {
        ShowPlainMessage(LoadString(kNoFrontPanel), State().productTitle);
        return false;
    }
    const bool customPaper = engineType_ == kEngineCustomPaper;
    for (Setting setting : {Setting::MpSize, Setting::Duplex, Setting::WideA4}) {
        ShowSetting(setting, !customPaper);
    }
    ShowSetting(Setting::CustomWidth, customPaper);
    ShowSetting(Setting::CustomHeight, customPaper);
    if (customPaper) {
        for (Setting setting :
             {Setting::TraySwitch, Setting::TonerLow, Setting::LockTray, Setting::Altitude}) {
            EnableSetting(setting, false);
        }
        for (QPushButton* command : {cmdMenuClear, cmdFuser, cmdOpc}) {
            command->setEnabled(false);
        }
    } else {
        EnableSetting(Setting::PsError, false);
    }
    if (!readOk_) {
        ShowPlainMessage(LoadString(kUnableToReadAll), State().productTitle);
    }
    loading_ = false;
    return true;
}

// The hint line tells how the number boxes are changed while the pointer is over one.
bool frmProperties::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && qobject_cast<NumberBox*>(watched) != nullptr) {
        lblTips->setText(LoadString(kNumberHint));
    }
    return QDialog::eventFilter(watched, event);
}

void frmProperties::ShowTabPanels(int tab) {
    lblTips->setText(tab == kPsTab && !cmdPS->isEnabled() ? LoadString(kNoPostScript) : QString());
}

void frmProperties::ListClicked(Setting setting) {
    if (loading_) {
        return;
    }
    if (const auto code = CodeOf(choices_[setting], TextOf(setting))) {
        slots_.Store(setting, QString::number(*code));
    }
    switch (setting) {
        case Setting::PaperSize:
            ApplyCustomPaperRule();
            ApplyMarginRule();
            ApplyPaperTypeRule();
            break;
        case Setting::Tray:
            TrayRule();
            break;
        case Setting::Duplex:
            ApplyPaperSizeRule();
            ApplyMPSizeRule();
            ApplyDuplexRule();
            break;
        case Setting::TraySwitch:
            ApplyLockTrayRule();
            break;
        default:
            break;
    }
}

// On engine types 2 to 4 a tray other than the first is written at once: the printer's paper
// choices depend on it and are read again.
void frmProperties::TrayRule() {
    if (engineType_ == kEngineOffice) {
        ApplyPaperSizeRule();
        ApplyPaperTypeRule();
        ApplyLockTrayRule();
        return;
    }
    if (!slots_.At(Setting::Tray).changed) {
        ApplyPaperTypeRule();
        return;
    }
    const ChoiceTable& trays = choices_[Setting::Tray];
    if (trays.empty() || TextOf(Setting::Tray) != trays.front().text) {
        const std::int32_t result =
            SetIntegers(adapter_, {slots_.ValueOid(Setting::Tray)}, {slots_.At(Setting::Tray).valueText});
        if (result != 0) {
            ShowResult(result, kWarning);
            return;
        }
        loading_ = true;
        RefreshTrayChoices();
        loading_ = false;
        ApplyPaperTypeRule();
        return;
    }
    if (engineType_ != kEngineCustomPaper) {
        ApplyPaperSizeRule();
    }
    ApplyTraySwitchRule();
    ApplyPaperTypeRule();
}

void frmProperties::OptionClicked(Setting setting, const char* value) {
    if (loading_) {
        return;
    }
    slots_.Store(setting, value);
    if (setting == Setting::Orientation) {
        ApplyMarginRule();
    }
}

// Stores a typed, pasted or stepped number in the written unit; a text that is no number, or a
// number outside the box's range, is not stored.
void frmProperties::NumberEdited(Setting setting) {
    if (loading_) {
        return;
    }
    NumberControl& control = numbers_.at(setting);
    NumberBox* box = control.box;
    if (!control.edited) {
        control.edited = true;
        control.before = slots_.At(setting);
    }
    if (control.rangeMessage && !ValidateRange(box->findChild<QLineEdit*>(), static_cast<int>(box->Minimum()),
                                               static_cast<int>(box->Maximum()))) {
        return;
    }
    if (box->InRange()) {
        slots_.Store(setting, NumberText(*box->Number() * control.scale));
    }
}

// A box the person edited is taken as it stands when they leave it or press OK, however they press
// it: a number it cannot take gives way to its fall-back text, or else to what the box held before
// the editing began, so that the box shows what OK writes. A box only visited writes nothing.
void frmProperties::CommitNumber(Setting setting) {
    NumberControl& control = numbers_.at(setting);
    if (loading_ || !control.edited || control.box->InRange()) {
        control.edited = false;
        return;
    }
    if (control.fallback != nullptr) {
        control.box->ShowText(control.fallback);
        NumberEdited(setting);
    } else {
        slots_.Restore(setting, control.before);
        ShowNumberOf(setting, control.before.valueText);
    }
    control.edited = false;
}

void frmProperties::CommitNumbers() {
    for (const auto& [setting, control] : numbers_) {
        CommitNumber(setting);
    }
}

}  // namespace console
