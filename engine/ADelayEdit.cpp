#include "ADelayEdit.h"

#include "EditorFactory.h"

#include <new>

ADelayEdit::ADelayEdit(audioMasterCallback audioMaster) : ADelay(audioMaster) {
  setUniqueID(kUniqueId);
  // The editor attaches itself through setEditor; storing the result as well keeps the flag
  // and the pointer right even when no editor could be made.
  setEditor(createEditor(this));
}

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) ADelayEdit(audioMaster);
}
