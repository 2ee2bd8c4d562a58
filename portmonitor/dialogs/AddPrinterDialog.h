#pragma once

#include <QDialog>

#include <array>
#include <optional>
#include <string>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;

// Adds a print server that detection did not find, by name, IP address, IPX address or hardware
// address, through the configuration helper library's validation, which stores it.
class AddPrinterDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AddPrinterDialog(QWidget* owner = nullptr);

    QComboBox* Kinds() const { return kinds_; }
    QLineEdit* NameBox() const { return name_; }
    QLineEdit* IpBox(int i) const { return ip_[static_cast<std::size_t>(i)]; }
    QLineEdit* NetworkBox() const { return network_; }
    QLineEdit* NodeBox() const { return node_; }
    QLabel* Hint() const { return hint_; }
    void Ok();

    // The address text and kind for the validation of what the boxes hold; nothing when it is no
    // address of the chosen kind.
    std::optional<std::pair<std::string, int>> Address() const;

  private:
    void OnKind(int index);
    int KindId() const;

    QLabel* locate_;
    QComboBox* kinds_;
    QLabel* hint_;
    QLineEdit* name_;
    std::array<QLineEdit*, 4> ip_{};
    QWidget* ipRow_;
    QLineEdit* network_;
    QLineEdit* node_;
    QWidget* ipxRow_;
};
