#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>

#include "console/core/frmProgress.h"

namespace console {

// The detections that start in this process's console: each shows its progress dialog.
class DetectionCount : public QObject {
  public:
    DetectionCount() { qApp->installEventFilter(this); }
    ~DetectionCount() override { qApp->removeEventFilter(this); }
    int Started() const { return started_; }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<frmProgress*>(object) != nullptr) {
            ++started_;
        }
        return false;
    }

  private:
    int started_ = 0;
};

}  // namespace console
