#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace console {

class HintLine;

// Advanced Filter: one rule, a name or address pattern or a printer status. OK sets the filter;
// Cancel changes nothing. A pattern that could never match is not taken.
class frmAFilter : public QDialog {
    Q_OBJECT

  public:
    enum Rule : int { kNoRule = -1, kNameRule, kIpRule, kIpxRule, kHardwareRule, kStatusRule };

    explicit frmAFilter(QWidget* parent = nullptr);

    void lstRules_Click();
    void pbuOk_Click();

    QListWidget* Rules() const { return lstRules; }
    QLineEdit* Pattern() const { return txtFilter; }
    QComboBox* Status() const { return cmbStatus; }

  private:
    int Rule() const;

    QListWidget* lstRules;
    QLineEdit* txtFilter;
    QComboBox* cmbStatus;
    QLabel* lblHead;
    QPushButton* pbuOk;
    QPushButton* pbuCancel;
    HintLine* lblTips;
};

// Whether a name pattern can match any text at all: every bracket closes and lists something.
bool PatternCanMatch(const QString& pattern);

}  // namespace console
