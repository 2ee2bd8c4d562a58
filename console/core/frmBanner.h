#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace console {

// The start-up splash: the console's banner in a raised panel; a key, a click or the main window's
// banner timer closes it. Closed, it deletes itself once no window that belongs to it is left.
class frmBanner : public QDialog {
  public:
    explicit frmBanner(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void childEvent(QChildEvent* event) override;

  private:
    void DeleteWhenAlone();

    QFrame* pnlHolder;
    QLabel* image1;
    bool closed_ = false;  // closed, waiting for its windows to go
};

}  // namespace console
