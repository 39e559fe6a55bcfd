#pragma once
// Qt's own texts in Czech (preklady = translations): the buttons of the
// standard message boxes and the labels and buttons of the file dialogs
// would otherwise be English inside a Czech program.
#include <QString>

// Installs Qt's Czech catalogue qtbase_cs from `slozka` (folder) in the
// running application, which owns it from then on. False when there is no
// application or the catalogue cannot be loaded; Qt's English texts stay.
bool NactiPrekladyQt(const QString& slozka);
// The same from the folder Qt's translations are installed in.
bool NactiPrekladyQt();
