#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "console/properties/ChoiceTables.h"
#include "console/properties/PropertySettings.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace console {

class NumberBox;

// The printer properties dialog: the front-panel menus of the current row's printer, read when it
// loads, changed in seven tabs and written back in batches by OK; maintenance commands act at once.
class frmProperties : public QDialog {
    Q_OBJECT

  public:
    explicit frmProperties(QWidget* parent = nullptr);

    // Reads every menu of the printer.
    void Form_Load();
    // The engine type checks and messages before the dialog shows; false when it must not show.
    bool Form_Activate();

    void pbuOK_Click();
    void cmdMenuClear_Click();
    void cmdFuser_Click();
    void cmdOpc_Click();
    void cmdPCL_Click();
    void cmdPS_Click();

    int EngineType() const { return engineType_; }
    bool ReadOk() const { return readOk_; }
    int WriteDelay() const { return writeDelay_; }
    const PropertySlots& Slots() const { return slots_; }
    QTabWidget* Tabs() const { return tabDetails; }
    QComboBox* List(Setting setting) const;
    NumberBox* Box(Setting setting) const;
    QRadioButton* Option(Setting setting, bool first) const;
    QPushButton* Command(Setting setting) const;
    QLabel* Tips() const { return lblTips; }
    QProgressBar* Progress() const { return ProgressBar1; }
    QLineEdit* ModelBox() const { return txtModel; }

    // A person choosing the text in the setting's list.
    void Choose(Setting setting, const QString& text);

    // The dialog's pauses (between write batches, after a menu reset, after a font list); a test
    // hook takes their place and records them. Empty: the dialog sleeps.
    using PauseHook = std::function<void(int milliseconds)>;
    static void SetPauseHook(PauseHook hook);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct ListControl {
        QComboBox* list;
        QLabel* label;
    };
    struct NumberControl {
        NumberBox* box;
        QLabel* label;
        double scale;            // the written value is the shown one times this
        bool rangeMessage;       // a typed number outside the range is reported
        const char* fallback;    // the text a box left with a bad number gets; null: none
        bool edited = false;     // typed, pasted or stepped since it was read or last committed
        PropertySetting before;  // the setting's slot as it was when the editing began
    };

    void BuildLayout();
    QWidget* ModelPage();
    QWidget* PrintingPage();
    QWidget* ConfigPage();
    QWidget* JobPage();
    QWidget* PclPage();
    QWidget* IoPage();
    QWidget* PsPage();
    // A setting's captioned choice list (number box), kept for the handlers and placed in a column.
    void AddList(QFormLayout* column, Setting setting, const char* caption);
    void AddNumber(QFormLayout* column, Setting setting, const char* caption, NumberBox* box, double scale,
                   bool rangeMessage = false, const char* fallback = nullptr);
    void ConnectHandlers();
    void Localize();
    void ShowTabPanels(int tab);
    void Pause(int milliseconds) const;

    // Reading (PropertyReaders.cpp).
    void ReadAllMenus();
    void DetectEngineType();
    // Which object of a setting a read asks for: its mask or its value.
    using SlotOid = QString (PropertySlots::*)(Setting) const;
    std::int32_t ReadObjects(const std::vector<Setting>& settings, SlotOid oid, int menuName,
                             std::vector<QString>& objects);
    bool ReadCapabilities(const std::vector<Setting>& settings, int menuName);
    std::int32_t ReadValues(const std::vector<Setting>& settings, int menuName);
    bool ReadPrintingCapabilities();
    bool ReadConfigCapabilities();
    bool ReadJobCapabilities();
    bool ReadPostScriptCapabilities();
    std::int32_t ReadPostScriptValues();
    std::int32_t ReadPrintingValues();
    std::int32_t ReadConfigValues();
    std::int32_t ReadJobValues();
    std::int32_t ReadPCLValues();
    bool ReadAllValues();
    bool ReadAllCapabilities();
    void ShowCapability(Setting setting, std::int64_t mask);
    void ShowValue(Setting setting, const QString& value);
    void FillChoiceLists();
    void RefreshTrayChoices();
    void ReportReadFailure(std::int32_t result, int menuName);

    // Dependent controls (DependentControls.cpp).
    void ApplyPaperSizeRule();
    void ApplyPaperTypeRule();
    void ApplyMPSizeRule();
    void ApplyLockTrayRule();
    void ApplyMarginRule();
    void ApplyDuplexRule();
    void ApplyTraySwitchRule();
    void ApplyTypefaceRule();
    void ApplyCustomPaperRule();
    void RebuildList(Setting setting, const ChoiceTable& entries);
    QString TextOf(Setting setting) const;
    std::pair<QWidget*, QLabel*> ControlOf(Setting setting) const;
    void EnableSetting(Setting setting, bool enabled);
    // A setting the engine type does not have is not shown at all.
    void ShowSetting(Setting setting, bool visible);

    // Handlers.
    void ListClicked(Setting setting);
    void TrayRule();
    void NumberEdited(Setting setting);
    void CommitNumber(Setting setting);
    void CommitNumbers();
    // Shows a value text of the setting's slot in its number box, in the box's unit.
    void ShowNumberOf(Setting setting, const QString& valueText);
    void OptionClicked(Setting setting, const char* value);

    // Writing and maintenance (PropertyWriting.cpp).
    bool WriteSettings(int first, int last, int menuName);
    void Maintenance(Setting setting, int confirmation, int success);
    void PrintFontList(int confirmation, const char* valueText, int success);
    void ReportCommand(std::int32_t result, int success);

    QString adapter_;
    int engineType_ = 2;
    bool loading_ = true;
    bool readOk_ = true;
    int writeDelay_ = 100;
    double largestTop_ = 9.9;
    double largestLeft_ = 9.9;
    PropertySlots slots_;
    std::map<Setting, ChoiceTable> choices_;
    std::map<Setting, std::int64_t> masks_;
    std::map<Setting, ListControl> lists_;
    std::map<Setting, NumberControl> numbers_;

    QTabWidget* tabDetails;
    QLineEdit* txtPrinterName;
    QLineEdit* txtModel;
    QLineEdit* txtVersion;
    QLabel* lblPrinterName;
    QLabel* lblModel;
    QLabel* lblVersion;
    QLabel* lblOrientation;
    QRadioButton* optPortrait;
    QRadioButton* optLandscape;
    QLabel* lblXon;
    QRadioButton* optXON;
    QRadioButton* optXOFF;
    QComboBox* cmbTypeFace;
    QLabel* lblTypeFace;
    QLabel* lblMenuClear;
    QPushButton* cmdMenuClear;
    QLabel* lblFuser;
    QPushButton* cmdFuser;
    QLabel* lblOpc;
    QPushButton* cmdOpc;
    QLabel* lblPCL;
    QPushButton* cmdPCL;
    QLabel* lblPS;
    QPushButton* cmdPS;
    QLabel* lblTips;
    QProgressBar* ProgressBar1;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;
};

}  // namespace console
