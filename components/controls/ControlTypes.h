#pragma once

#include <QtCore/qnamespace.h>

#include <functional>

#include "platform/Component.h"

namespace vzt {

enum TAlignment : int { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

enum TLabelPosition : int { lpAbove = 0, lpBelow = 1, lpLeft = 2, lpRight = 3 };

enum TDataDefinedAspect : int { ddNone = 0, ddInvisible = 1, ddDisabled = 2 };

enum TCheckCondition : int {
  ccEqualTo = 0,
  ccNotEqualTo = 1,
  ccMinorOf = 2,
  ccGreaterOf = 3,
  ccMaskedBit = 4,
};

enum TLabelStyle : int { lsValue = 0, lsLabeledValue = 1, lsFlag = 2, lsLabeledFlag = 3 };

enum TComboStyle : int {
  csDropDown = 0,
  csSimple = 1,
  csDropDownList = 2,
  csOwnerDrawFixed = 3,
  csOwnerDrawVariable = 4,
};

// A key reaching a control: the Qt key code, 0 once the control has consumed the key.
using TKeyEvent = std::function<void(Component* sender, int& key, Qt::KeyboardModifiers shift)>;
// A typed character on its way into a control; setting it to 0 drops it.
using TKeyPressEvent = std::function<void(Component* sender, char16_t& key)>;

}  // namespace vzt
