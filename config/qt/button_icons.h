// The pictures of the window's buttons and of the tree's nodes as Qt icons, drawn at run time
// from the core's figures (config/core/pictures.h) so that they stay sharp at any scale.
#pragma once

#include <QIcon>

#include "config/core/pictures.h"

namespace vn::config {

using ButtonPicture = Picture;

QIcon MakeButtonIcon(ButtonPicture picture);

}  // namespace vn::config
