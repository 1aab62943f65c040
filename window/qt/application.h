#pragma once

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

namespace karbelon::window::qt {

// Name, version, window icon and Qt's own texts in the system's UI
// languages; call once the QApplication exists.
void configureApplication();

// Loads Qt's translation (qtbase_*.qm, from Qt's translations folder) for the
// first of the locale's UI languages that has one; false when none has.
// The program's own texts are Korean in every language.
bool loadQtTranslation(QTranslator& translator, const QLocale& locale);

// Release builds print none of Qt's warnings: the program has no diagnostic
// output. Fatal messages still say why before the abort. Call first.
void silenceQtMessages();

// The program's icon in five sizes, from pixels built into the binary.
QIcon applicationIcon();

}  // namespace karbelon::window::qt
