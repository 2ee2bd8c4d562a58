#pragma once

#include "console/core/OctetBoxes.h"

namespace console {

// The octet boxes of one address of the network interface dialog: a box the focus leaves is
// rewritten as its plain number ("007" becomes "7", empty becomes "0").
class AddressBoxes : public OctetBoxes {
    Q_OBJECT

  public:
    explicit AddressBoxes(QWidget* parent = nullptr);

    QString Text() const;
    // Shows a dotted text; a missing or empty part shows as "0".
    void SetText(const QString& address);
    // Takes what stands in the boxes as if the focus left them: OK pressed by Enter or by its
    // mnemonic leaves the focus where it is.
    void CommitTyped();

  signals:
    // The focus left a box, after its rewrite.
    void Left();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace console
