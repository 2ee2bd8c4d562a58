#pragma once

#include <QDialog>

#include "platform/spooler/Spooler.h"

class QComboBox;
class QSpinBox;

namespace console {

// A queue's document settings: paper size, sides, orientation and copies, which OK keeps as the
// queue's defaults. It is the spooler layer's document properties dialog in the console.
class frmDocumentSettings : public QDialog {
    Q_OBJECT

  public:
    frmDocumentSettings(const QString& printer, const plat::DocumentSettings& settings,
                        QWidget* parent = nullptr);

    // The settings as chosen; a field the queue left unset holds the default it opened on.
    plat::DocumentSettings Settings() const;

    QComboBox* Media() const { return cboMedia; }
    QComboBox* Sides() const { return cboSides; }
    QComboBox* Orientation() const { return cboOrientation; }
    QSpinBox* Copies() const { return spnCopies; }

  private:
    QComboBox* cboMedia;
    QComboBox* cboSides;
    QComboBox* cboOrientation;
    QSpinBox* spnCopies;
    plat::DocumentSettings given_;
};

// Makes frmDocumentSettings the spooler layer's document properties dialog, owned by the parent.
void InstallDocumentSettingsDialog(QWidget* parent);

}  // namespace console
