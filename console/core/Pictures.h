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

}  // namespace console
