#pragma once

class QWidget;

namespace console {

// Shows the browse dialog modally, placed against `owner`, for the Browse globals; the result is in
// BrowseAccepted, BrowseChoice and BrowseChoiceContext.
void ShowBrowseDialog(QWidget* owner);

}  // namespace console
