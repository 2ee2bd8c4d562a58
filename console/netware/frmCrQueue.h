#pragma once

class QWidget;

namespace console {

// Shows the create queue dialog modally, placed against `owner`, for the CrQueue globals; the
// result is in CrQueueCreated and CrQueueName.
void ShowCreateQueueDialog(QWidget* owner);

}  // namespace console
