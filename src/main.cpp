// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windowsystem.h"
#include "shell/frmnotes.h"

#include <QApplication>

int main(int argc, char** argv)
{
    penwick::preferX11UnderWayland();
    QApplication app(argc, argv);
    // Lets the desktop match the window to the installed menu entry, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("penwick"));
    penwick::frmNotes notes(penwick::Environment::system());
    if (!notes.Form_Load())
        return 0; // another copy owns the note (and was asked to show itself), or the program
                  // was ended during start-up
    return QApplication::exec();
}
