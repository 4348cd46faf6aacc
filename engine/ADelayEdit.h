// The class the host instantiates: the effect with its editor attached.
#pragma once

#include "ADelay.h"

class ADelayEdit : public ADelay {
public:
  explicit ADelayEdit(audioMasterCallback audioMaster);
  // Closes an editor the host left open, while the instance it draws is still whole.
  ~ADelayEdit() override;
};
