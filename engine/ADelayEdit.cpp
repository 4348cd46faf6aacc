#include "ADelayEdit.h"

#include "AEffEditor.h"
#include "EditorFactory.h"

#include <new>

ADelayEdit::ADelayEdit(audioMasterCallback audioMaster) : ADelay(audioMaster) {
  setUniqueID(kUniqueId);
  // The editor attaches itself through setEditor; storing the result as well keeps the flag
  // and the pointer right even when no editor could be made.
  setEditor(createEditor(this));
}

ADelayEdit::~ADelayEdit() {
  // Its window and timers would otherwise reach a deleted effect.
  if (AEffEditor* editor = getEditor()) {
    editor->close();
  }
}

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) ADelayEdit(audioMaster);
}
