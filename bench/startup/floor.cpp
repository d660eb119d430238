// SPDX-License-Identifier: GPL-2.0-or-later
// The floor: the least a Qt program can do to show the note in a window. With "plain" it holds
// the note's text only; with "formatted" it builds the same formatted text in the document
// directly, without reading a file.
#include "notegen.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTextEdit>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto* edit = new QTextEdit(&window);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("plain");
    if (mode == "formatted") {
        // Built apart from the editor and then handed over: the fastest way Qt offers.
        auto* document = new QTextDocument(edit);
        document->setUndoRedoEnabled(false);
        generateNote(*document, argc > 2 ? std::atoi(argv[2]) : 1 << 20);
        document->setUndoRedoEnabled(true);
        edit->setDocument(document);
    } else {
        QFile file(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
        if (file.open(QIODevice::ReadOnly))
            edit->setPlainText(QString::fromUtf8(file.readAll()));
    }
    window.setCentralWidget(edit);
    window.resize(463, 374);
    window.show();
    return QApplication::exec();
}
