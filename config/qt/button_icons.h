// The pictures of the window's buttons, drawn at run time so that they stay sharp at any scale.
#pragma once

#include <QIcon>

namespace vn::config {

enum class ButtonPicture {
  kFirst,
  kPrevious,
  kNext,
  kLast,
  kDelete,
  kAddNew,
  kCancel,
  kOK,
  kInfo,
  kDataLink,
  kArrowUp,
  kArrowDown,
  kProgram,
};

QIcon MakeButtonIcon(ButtonPicture picture);

}  // namespace vn::config
