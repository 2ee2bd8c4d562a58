#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace console {

// The start-up splash: the console's banner in a raised panel; a key, a click or the main window's
// banner timer closes it.
class frmBanner : public QDialog {
  public:
    explicit frmBanner(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QFrame* pnlHolder;
    QLabel* image1;
};

}  // namespace console
