#pragma once

#include <QIcon>
#include <QPixmap>

// The console's pictures, drawn once: the nine status icons of the printer list and the banner of
// the splash and About boxes.
namespace console {

// Icon 1 to 9 (StatusIcon): three sets by category, each with a ready, a printing and an attention
// state.
QIcon StatusIconPicture(int icon);
QPixmap BannerPicture();
// Tool bar pictures the style does not have: the three list views (0 large icons, 1 small icons,
// 2 detailed list), a magnifier for Locate Printer and a question mark for help.
QIcon ViewModePicture(int mode);
QIcon LocatePicture();
QIcon HelpPicture();

}  // namespace console
