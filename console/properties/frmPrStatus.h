#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace console {

// The printer status dialog: name, location, who is printing and the printer's status of the
// current row's print server, read when it loads; name, description and status are kept in the
// print server table and the device store.
class frmPrStatus : public QDialog {
    Q_OBJECT

  public:
    explicit frmPrStatus(QWidget* parent = nullptr);

    // The four reads; false after a failed one (shown already): the dialog is then not shown.
    bool Form_Load();

    QLineEdit* StatusBox() const { return txtStatus; }
    QLineEdit* WhoBox() const { return txtWho; }
    QLineEdit* NameBox() const { return txtPrintServerName; }
    QLineEdit* DescriptionBox() const { return txtDescription; }

  private:
    bool ReadText(const char* oid, QLineEdit* box);
    std::optional<std::int32_t> ReadStatus();

    QString adapter_;
    QPushButton* pbuQuit;
    QLabel* lblStatus;
    QLineEdit* txtStatus;
    QLabel* lblPanel;
    QLineEdit* txtWho;
    QLabel* Label1;
    QLineEdit* txtPrintServerName;
    QLabel* Label2;
    QLineEdit* txtDescription;
};

}  // namespace console
