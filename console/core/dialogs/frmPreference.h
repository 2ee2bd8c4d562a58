#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace console {

// Preference: the automatic refresh of the list and the discovery protocols. The refresh timer is
// held while the dialog is open; OK checks the choices before it stores any, Cancel puts the
// timer back as it was.
class frmPreference : public QDialog {
    Q_OBJECT

  public:
    frmPreference(QTimer* refreshTimer, QWidget* parent = nullptr);

    void chkAllProtocol_Click();
    void ProtocolBox_Click();
    void btnOK_Click();
    void btnCancel_Click();

    QCheckBox* AutoRefresh() const { return chkAutoRefresh; }
    QSpinBox* RefreshTime() const { return txtRefreshTime; }
    QCheckBox* Protocol(int bit) const;
    QCheckBox* AllProtocols() const { return chkAllProtocol; }

  private:
    void reject() override;
    int ProtocolMask() const;

    QTimer* tmrRefresh;
    bool timerWasRunning_;
    QCheckBox* chkDLC_LLC;
    QCheckBox* chkIPX_SPX;
    QCheckBox* chkTCP_IP;
    QCheckBox* chkAllProtocol;
    QCheckBox* chkAutoRefresh;
    QSpinBox* txtRefreshTime;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

}  // namespace console
