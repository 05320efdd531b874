#pragma once
// Qt's own texts in Russian: the buttons of message boxes, the file dialogs and the standard
// context menus read like the rest of the interface.

#include <QTranslator>

namespace luma::app {

// Loads Qt's Russian texts into `translator` and installs it: from the executable where it
// carries them (the static Windows build), else from the system's Qt. False when neither has
// them; Qt's English texts stay then.
bool InstallRussianQtTexts(QTranslator& translator);

}  // namespace luma::app
