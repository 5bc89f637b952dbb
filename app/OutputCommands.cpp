// The main window's output commands: print, copy to the clipboard, save to
// a file.  Not written yet; the buttons do nothing until they are.

#include "BarCodeForm.h"

void TBarCodeForm::printButtonClick() {}

void TBarCodeForm::copyButtonClick() {}

void TBarCodeForm::saveButtonClick() {}
