#include "ADelayEdit.h"

#include "EditorFactory.h"

#include <new>

ADelayEdit::ADelayEdit(audioMasterCallback audioMaster) : ADelay(audioMaster) {
  setUniqueID(kUniqueId);
  // The editor attaches itself through setEditor; without one the instance runs bare.
  createEditor(this);
}

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) ADelayEdit(audioMaster);
}
