// SPDX-License-Identifier: GPL-2.0-or-later
// The floor: the least a Qt program can do to show the same text in a window.
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTextEdit>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto* edit = new QTextEdit(&window);
    QFile file(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (file.open(QIODevice::ReadOnly))
        edit->setPlainText(QString::fromUtf8(file.readAll()));
    window.setCentralWidget(edit);
    window.resize(463, 374);
    window.show();
    return QApplication::exec();
}
